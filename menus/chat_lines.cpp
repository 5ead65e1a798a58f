// chat_lines.cpp: cutting lobby chat messages into pieces.
#include "menus/chat_lines.h"

#include <cstring>

namespace lobby {

std::vector<std::string> CutChatMessage(const char* name, const char* text, float width,
                                        const TextMeasure& measure) {
  std::vector<std::string> pieces;
  if (!text) return pieces;
  float limit = width;
  if (name && *name) limit -= measure(name, int(std::strlen(name)));
  const size_t length = std::strlen(text);
  size_t at = 0;
  while (at < length) {
    std::string piece;
    while (at < length) {
      const bool lead = static_cast<unsigned char>(text[at]) & 0x80;
      // A lead byte at the very end has no trail byte: it goes alone.
      const size_t step = (lead && at + 1 < length) ? 2 : 1;
      if (piece.size() + step > size_t(kChatPieceRoom - 1)) break;
      if (!piece.empty() && !(measure(piece.data(), int(piece.size())) < limit)) break;
      piece.append(text + at, step);
      at += step;
    }
    if (!piece.empty() && (piece[0] == ' ' || piece[0] == ',' || piece[0] == '.'))
      piece.erase(0, 1);
    pieces.push_back(piece);
  }
  return pieces;
}

}  // namespace lobby
