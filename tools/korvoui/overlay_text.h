// overlay_text.h: panels of text that `korvoui play` draws over the module's
// frame with the host's own text and 2D services: the inspector and the
// script error report.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint32_t kOverlayText = 0xFFE8E8E8;
inline constexpr uint32_t kOverlayError = 0xFFFF7060;
inline constexpr uint32_t kOverlayAccent = 0xFF80D0FF;

class OverlayPanel {
 public:
  explicit OverlayPanel(uint32_t backArgb = 0xD0101018) : back_(backArgb) {}

  void Add(const std::string& text, uint32_t argb = kOverlayText);
  // A source line (tabs expanded) and a caret under its 1-based column.
  void AddSourceLine(const std::string& source, int column, uint32_t argb = kOverlayText);
  bool Empty() const { return lines_.empty(); }

  // Draws the panel with its top-left at pixel (x, y); with `fromBottom` y
  // names the panel's bottom edge instead.
  void Draw(int x, int y, bool fromBottom) const;

 private:
  struct Line {
    std::string text;
    uint32_t argb;
    int caretX = -1;   // a caret line: '^' at this offset in pixels
  };
  std::vector<Line> lines_;
  uint32_t back_;
};

// Pixel width of a line of the host's system font at the size ShowText uses.
int OverlayTextWidth(const std::string& text);
// Tabs expanded to the next multiple of 4 columns; *column (1-based, into the
// text) is moved to the same character of the expanded text.
std::string ExpandTabs(const std::string& text, int* column);
