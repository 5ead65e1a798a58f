// overlay_text.cpp: text panels drawn with ShowText over a solid rectangle.
#include "tools/korvoui/overlay_text.h"

#include <algorithm>

#include "host/host_graphics.h"

namespace {
constexpr int kLineHeight = 16;   // ShowText draws 14 pixels high
constexpr int kPadding = 6;
}  // namespace

int OverlayTextWidth(const std::string& text) {
  CY3DText measure(Y3DFONT_SYSTEM, nullptr, 0, 0, 0, 14.0f, 1.0f, 0);
  float width = 0;
  measure.GetTextMetric(text.c_str(), -1, &width, nullptr);
  return int(width + 0.5f);
}

std::string ExpandTabs(const std::string& text, int* column) {
  std::string out;
  int moved = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (int(i) + 1 == *column) moved = int(out.size()) + 1;
    if (text[i] == '\t') out.append(4 - out.size() % 4, ' ');
    else out += text[i];
  }
  *column = moved ? moved : int(out.size()) + (*column - int(text.size()));
  return out;
}

void OverlayPanel::Add(const std::string& text, uint32_t argb) { lines_.push_back({text, argb}); }

void OverlayPanel::AddSourceLine(const std::string& source, int column, uint32_t argb) {
  const std::string expanded = ExpandTabs(source, &column);
  lines_.push_back({expanded, argb});
  const std::string before = expanded.substr(0, std::min(expanded.size(), size_t(std::max(column - 1, 0))));
  lines_.push_back({"^", kOverlayError, OverlayTextWidth(before)});
}

void OverlayPanel::Draw(int x, int y, bool fromBottom) const {
  if (lines_.empty()) return;
  int width = 0;
  for (const Line& line : lines_)
    width = std::max(width, line.caretX >= 0 ? line.caretX + OverlayTextWidth("^")
                                             : OverlayTextWidth(line.text));
  const int height = int(lines_.size()) * kLineHeight + 2 * kPadding;
  if (fromBottom) y -= height;
  DrawFrameBitmap(static_cast<TEXTURE>(nullptr), x, y, 0.0f, width + 2 * kPadding, height,
                  Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA, back_, 0, 1.0f, 1.0f);
  int lineY = y + kPadding;
  for (const Line& line : lines_) {
    const int lineX = x + kPadding + std::max(line.caretX, 0);
    ShowText(lineX, lineY, line.argb, line.text.c_str());
    lineY += kLineHeight;
  }
}
