// record_lines.h: the line format shared by the profile files and the game
// data tables. A line is a word followed by tokens: bare words, quoted texts
// ("A B", with \" \\ \xHH escapes) and fields NAME=VALUE whose value is bare or
// quoted. Blank lines and lines starting with '#' carry nothing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "refhost/korvohost.h"

namespace korvohost {

struct SLineToken {
  std::string name;      // field name; empty for a plain token
  std::string value;
  bool field = false;    // written NAME=VALUE
  bool quoted = false;
};

struct SRecordLine {
  int number = 0;                    // 1-based line number in its file
  std::vector<SLineToken> tokens;    // tokens[0] is the line's word
};

// Splits a file into its record lines (LF or CR LF ends). A line that does not
// tokenise adds "LABEL:N: WHY" to *errors and is left out.
KORVOHOST_API std::vector<SRecordLine> SplitRecordLines(const std::string& bytes, const std::string& label,
                                                        std::vector<std::string>* errors);

// Reads the quoted text whose opening quote is line[*at] (escapes \" \\ \n \r
// \t \xHH), appends it to *out and moves *at past its closing quote. Session
// scripts read their quoted tokens with it too.
KORVOHOST_API bool ReadQuotedText(const std::string& line, size_t* at, std::string* out,
                                  std::string* why);

// A token as written: bare when it is a plain word, else quoted with escapes
// for the quote, the backslash and control bytes. Bytes from 0x80 stay as they
// are (double-byte text reads as itself in the game's code page).
KORVOHOST_API std::string WriteToken(const std::string& text);
// Always quoted.
KORVOHOST_API std::string QuoteText(const std::string& text);

// Whole decimal numbers (optional sign) in [min, max]; false for anything else.
KORVOHOST_API bool ParseNumber(const std::string& text, int64_t min, int64_t max, int64_t* out);

// Comma-joined lists ("" is the empty list).
KORVOHOST_API std::string JoinList(const std::vector<std::string>& items);
KORVOHOST_API std::vector<std::string> SplitList(const std::string& text);

// "LABEL:N: WHY".
KORVOHOST_API std::string LineError(const std::string& label, int line, const std::string& why);

}  // namespace korvohost
