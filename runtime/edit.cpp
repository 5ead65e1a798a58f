// edit.cpp: CGUI_Edit: caret movement, insertion and deletion over double-byte
// text, IME composition, number mode.
#include "runtime/edit.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "runtime/key_codes.h"

namespace {

bool HighBit(char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; }

int Length(const std::string& s) { return static_cast<int>(s.size()); }

// The text read as a decimal number the way atoi does, saturated to int.
int ParseDecimal(const std::string& text) {
  const long long v = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

}  // namespace

CGUI_Edit::CGUI_Edit() : CGUI_Control("EDIT") {}

// ---- Caption -------------------------------------------------------------------------

bool CGUI_Edit::GetCaption(std::string& out) {
  GetText(caption_);
  out = caption_;
  return true;
}

bool CGUI_Edit::SetCaption(const std::string& caption) {
  CGUI_Control::SetCaption(caption);
  before_ = caption_;
  after_.clear();
  EndComposition();
  SetCursor(-1);
  return true;
}

bool CGUI_Edit::GetText(std::string& out) {
  const int b = Length(before_);
  const int c = Length(composition_);
  const int a = Length(after_);
  const int m = maxChars_;
  if (m < b) {
    // Cut before to m bytes, but never inside a two-byte character.
    int end = 0;
    while (end < m) end += HighBit(before_[end]) ? 2 : 1;
    out = before_.substr(0, std::min(end, b));
  } else if (m < b + c) {
    out = before_;
  } else {
    out = before_ + composition_ + after_.substr(0, std::min(a, m - b - c));
  }
  return true;
}

// ---- Caret ------------------------------------------------------------------------------

int CGUI_Edit::GetCursor() { return caret_; }

bool CGUI_Edit::SetCursor(int pos) {
  std::string text;
  GetText(text);
  const int length = Length(text);
  caret_ = (pos == -1 || pos > length) ? length : std::max(pos, 0);
  return true;
}

bool CGUI_Edit::SplitAtCaret() {
  if (Length(before_) == caret_) return true;
  std::string text;
  GetText(text);
  const size_t at = std::min(static_cast<size_t>(std::max(caret_, 0)), text.size());
  before_ = text.substr(0, at);
  after_ = text.substr(at);
  return true;
}

bool CGUI_Edit::IsDoubleByte(bool left) {
  if (left) return !before_.empty() && HighBit(before_.back());
  return !after_.empty() && HighBit(after_.front());
}

// ---- Editing ------------------------------------------------------------------------------

bool CGUI_Edit::InsertChar(char ch) {
  SplitAtCaret();
  const int used = Length(before_) + Length(composition_) + Length(after_);
  if (used >= maxChars_) return true;   // full: the character is dropped
  before_ += ch;
  SetCursor(caret_ + 1);
  std::string text;
  GetText(text);
  return OnTextChanged(text);
}

bool CGUI_Edit::OnChar(char ch) {
  if (static_cast<unsigned char>(ch) < 32) return true;
  if (number_ && (ch < '0' || ch > '9')) return true;
  return InsertChar(ch);
}

bool CGUI_Edit::OnKeyDown(int key) {
  SplitAtCaret();
  std::string text;
  switch (key) {
    case VK_BACK: {
      if (before_.empty()) return true;
      const int n = std::min(IsDoubleByte(true) ? 2 : 1, Length(before_));
      before_.erase(before_.size() - n);
      if (caret_ != 0) caret_ = std::max(caret_ - n, 0);
      GetText(text);
      return OnTextChanged(text);
    }
    case VK_END:
      return SetCursor(-1);
    case VK_HOME:
      return SetCursor(0);
    case VK_LEFT:
      if (caret_ > 0) caret_ = std::max(caret_ - (IsDoubleByte(true) ? 2 : 1), 0);
      return true;
    case VK_RIGHT:
      if (!after_.empty()) SetCursor(caret_ + (IsDoubleByte(false) ? 2 : 1));
      return true;
    case VK_DELETE: {
      if (after_.empty()) return true;
      after_.erase(0, std::min(IsDoubleByte(false) ? 2 : 1, Length(after_)));
      GetText(text);
      return OnTextChanged(text);
    }
    default:
      return true;
  }
}

// ---- Composition ----------------------------------------------------------------------------

bool CGUI_Edit::BeginComposition() {
  if (!composing_) {
    composing_ = true;
    composition_.clear();
  }
  return true;
}

bool CGUI_Edit::EndComposition() {
  if (composing_) {
    composing_ = false;
    composition_.clear();
  }
  return true;
}

bool CGUI_Edit::OnCompositionChar(char lead, char trail) {
  SplitAtCaret();
  if (lead == 0 && trail == 0) {
    EndComposition();
  } else {
    BeginComposition();
    composition_.assign({lead, trail});
  }
  std::string text;
  GetText(text);
  return OnTextChanged(text);
}

// ---- Modes and limits -------------------------------------------------------------------------

bool CGUI_Edit::SetPassword(bool on) { password_ = on; return true; }
bool CGUI_Edit::IsPassword() { return password_; }
bool CGUI_Edit::SetNumber(bool on) { number_ = on; return true; }
bool CGUI_Edit::IsNumber() { return number_; }
bool CGUI_Edit::SetMinValue(int v) { minValue_ = v; return true; }

bool CGUI_Edit::SetMaxValue(int v) {
  maxValue_ = v;
  int digits = 1;
  for (long long rest = std::llabs(static_cast<long long>(v)); rest >= 10; rest /= 10) ++digits;
  return SetMaxNumChar(digits);
}

bool CGUI_Edit::SetValue(int v) {
  if (!number_) return false;
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", v);
  return SetCaption(digits);
}

bool CGUI_Edit::ClampValue(int& out) {
  if (!number_) return false;
  std::string text;
  GetCaption(text);
  out = ParseDecimal(text);
  if (text.empty()) SetValue(0);
  if (out < minValue_) {
    out = minValue_;
    SetValue(minValue_);
  } else if (out > maxValue_) {
    out = maxValue_;
    SetValue(maxValue_);
  }
  return true;
}

bool CGUI_Edit::SetMaxNumChar(int n) { maxChars_ = n; return true; }
int CGUI_Edit::GetMaxNumChar() { return maxChars_; }

bool CGUI_Edit::OnTextChanged(const std::string& text) {
  if (number_ && !text.empty() && text[0] == '0') SetValue(ParseDecimal(text));
  return true;
}

bool CGUI_Edit::OnKillFocus() {
  if (number_) {
    int value;
    ClampValue(value);
  }
  return CGUI_Control::OnKillFocus();
}
