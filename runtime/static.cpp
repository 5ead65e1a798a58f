// static.cpp: colour markup of static texts.
#include "runtime/static.h"

#include <cctype>

CGUI_Static::CGUI_Static() : CGUI_Control("STATIC") {}

void CGUI_Static::AddRun(uint8_t color, int32_t start) {
  if (runCount_ >= kMaxRuns) return;   // later colour changes are ignored
  runs_[runCount_].color = color;
  runs_[runCount_].start = start;
  ++runCount_;
}

static bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

bool CGUI_Static::SetCaption(const std::string& text) {
  // The stripped text is built in caption_ itself, reusing its storage.
  if (&text == &caption_) {
    const std::string copy = text;
    return SetCaption(copy);
  }
  runCount_ = 0;
  AddRun(0, 0);
  // Without a hash there is no escape: the text is stored as it is.
  if (text.find('#') == std::string::npos) {
    caption_.assign(text, 0, static_cast<size_t>(kMaxCaption));
    return true;
  }
  std::string& stripped = caption_;
  stripped.clear();
  const size_t n = text.size();
  auto copy = [&stripped](char c) {
    if (stripped.size() < static_cast<size_t>(kMaxCaption)) stripped += c;
  };
  auto pos = [&stripped] { return static_cast<int32_t>(stripped.size()); };

  size_t i = 0;
  while (i < n) {
    const char c = text[i];
    if (c != '#') {
      copy(c);
      ++i;
      continue;
    }
    // "#c NN ": colour NN from here on.
    if (i + 6 <= n && text[i + 1] == 'c' && text[i + 2] == ' ' && IsDigit(text[i + 3]) &&
        IsDigit(text[i + 4]) && text[i + 5] == ' ') {
      AddRun(static_cast<uint8_t>((text[i + 3] - '0') * 10 + (text[i + 4] - '0')), pos());
      i += 6;
    } else if (i + 3 <= n && text[i + 1] == 'r' && text[i + 2] == ' ') {
      // "#r ": back to colour 0; the blank after it stays in the text.
      AddRun(0, pos());
      i += 2;
    } else if (i + 2 == n && text[i + 1] == '#') {   // a final "##" is one hash
      copy('#');
      i += 2;
    } else {   // not an escape: the hash is an ordinary character
      copy('#');
      ++i;
    }
  }
  return true;
}

bool CGUI_Static::SetPassword(bool on) { password_ = on; return true; }
bool CGUI_Static::IsPassword() { return password_; }
