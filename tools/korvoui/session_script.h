// session_script.h: reading a session script: raw lines (line ends kept, for
// `file` blocks) and the tokens of a command line.
#pragma once
#include <string>
#include <vector>

struct SessionToken {
  std::string text;
  bool quoted = false;        // written in double quotes (escapes decoded)
  bool fieldQuoted = false;   // NAME="VALUE": the value after the first '=' was quoted
};

struct SessionLine {
  int number = 0;        // 1-based
  std::string raw;       // the bytes of the line, its line end included
  std::string body;      // the line without its line end (LF or CR LF)
};

// Splits the script into lines, keeping each line's own ending.
std::vector<SessionLine> SplitSessionLines(const std::string& script);

// Tokens of a command line; false with a reason on an unterminated quote or a
// bad escape. A bare token in which '=' is directly followed by '"' continues
// with that quoted string (NAME="A B") up to its closing quote.
bool TokenizeSessionLine(const std::string& body, std::vector<SessionToken>* tokens,
                         std::string* error);

// Argument conversions of the session format. An integer: decimal or 0x hex
// with an optional sign, or bits(F), the IEEE-754 pattern of the float F;
// false unless a 64-bit signed integer holds it.
bool ParseSessionInt(const std::string& text, long long* value);
bool ParseSessionFloat(const std::string& text, double* value);
bool ParseSessionBool(const std::string& text, bool* value);

// A string as results are printed: in double quotes, bytes outside 0x20-0x7E
// and the characters " and \ written as \xHH.
std::string QuoteSessionString(const char* text);
std::string QuoteSessionString(const std::string& text);
