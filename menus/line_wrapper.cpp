// line_wrapper.cpp: word wrapping of texts into list rows.
#include "menus/line_wrapper.h"

#include "host/host_graphics.h"
#include "host/host_services.h"
#include "runtime/game_list.h"

namespace {

// A break point lying this many characters back or more is not used.
constexpr int kMaxBreakDistance = 5;

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
bool IsBreakPoint(char c) { return static_cast<unsigned char>(c) >= 1 && static_cast<unsigned char>(c) <= 32; }

// Bytes of the character at p: two for a lead byte followed by a trail byte.
int CharBytes(const char* p) { return (static_cast<unsigned char>(p[0]) & 0x80) && p[1] ? 2 : 1; }

}  // namespace

// ---- Wrapping ---------------------------------------------------------------------------

std::vector<std::string> WrapText(const char* name, const char* text, float width,
                                  const TextMeasure& measure) {
  const std::string prefix = name ? std::string(name) + " : " : std::string();
  const float limit = width - (prefix.empty() ? 0.0f : measure(prefix.c_str(), int(prefix.size())));
  if (!text) text = "";

  std::vector<std::string> rows;
  const char* p = text;
  for (;;) {
    const char* start = p;
    const char* end = p;            // end of the row's text
    const char* next = nullptr;     // where the next row starts; null: the text ended
    const char* breakAt = nullptr;  // last break point in the row
    int chars = 0, breakChar = 0;   // characters so far; the break point's number
    while (*end) {
      if (IsLineEnd(*end)) {
        next = end + ((end[0] == '\r' && end[1] == '\n') ? 2 : 1);
        break;
      }
      const int n = CharBytes(end);
      if (IsBreakPoint(*end)) {
        breakAt = end;
        breakChar = chars;
      }
      if (chars > 0 && measure(start, int(end - start) + n) > limit) {
        if (breakAt && breakChar > 0 && chars - breakChar < kMaxBreakDistance) {
          next = breakAt + 1;
          end = breakAt;
        } else {
          next = end;
        }
        break;
      }
      end += n;
      ++chars;
    }
    rows.push_back((rows.empty() ? prefix : std::string()) + std::string(start, end));
    if (!next || !*next) break;
    p = next;
  }
  return rows;
}

void WrapIntoList(CGUI_List* list, const char* name, const char* text, uint32_t color,
                  const TextMeasure& measure) {
  float region[4];
  list->GetRegion(region);
  for (const std::string& row : WrapText(name, text, region[2], measure))
    list->SetItemData(list->AddString(row), color);
}

void WrapIntoList(CGUI_GameList* list, const char* name, const char* text, uint32_t color) {
  CY3DText* font = list->RowStatic()->Text();
  const TextMeasure measure = [font](const char* s, int len) {
    if (!font || SCREEN_X <= 0) return 0.0f;
    float w = 0;
    font->GetTextMetric(s, len, &w, nullptr);
    return w / float(SCREEN_X);
  };
  WrapIntoList(list, name, text, color, measure);
}
