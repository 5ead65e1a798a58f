// play_input.cpp: SDL keys to virtual-key codes, UTF-8 to the host code page.
#include "tools/korvoui/play_input.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

#include "runtime/key_codes.h"

int VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  switch (key) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_DELETE: return VK_DELETE;
    default: return 0;
  }
}

char CharacterOfKey(int virtualKey) {
  switch (virtualKey) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE: return char(virtualKey);
    default: return 0;
  }
}

namespace {

// Bytes of the UTF-8 sequence led by c (1 for a stray byte).
size_t Utf8Length(unsigned char c) {
  if (c >= 0xF0 && c < 0xF8) return 4;
  if (c >= 0xE0) return c < 0xF0 ? 3 : 1;
  if (c >= 0xC0) return 2;
  return 1;
}

}  // namespace

bool Utf8ToCodePage(const std::string& utf8, const char* codepage, std::string* out) {
  iconv_t cd = iconv_open(codepage, "UTF-8");
  if (cd == iconv_t(-1)) return false;
  out->clear();
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char buffer[64];
  while (inLeft > 0) {
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    const size_t r = iconv(cd, &in, &inLeft, &dst, &dstLeft);
    out->append(buffer, size_t(dst - buffer));
    if (r != size_t(-1) || errno == E2BIG) continue;
    // A character the code page lacks, or a broken or cut sequence: skip it.
    const size_t skip = std::min(inLeft, Utf8Length(static_cast<unsigned char>(*in)));
    bool wellFormed = errno == EILSEQ && skip > 1;
    for (size_t i = 1; wellFormed && i < skip; ++i)
      wellFormed = (static_cast<unsigned char>(in[i]) & 0xC0) == 0x80;
    if (wellFormed) out->push_back('?');
    in += skip;
    inLeft -= skip;
  }
  iconv_close(cd);
  return true;
}

void CompositionBytes(const std::string& preeditUtf8, const char* codepage, char* lead, char* trail) {
  *lead = *trail = 0;
  std::string bytes;
  if (!Utf8ToCodePage(preeditUtf8, codepage, &bytes) || bytes.empty()) return;
  // Walk the double-byte text to the start of its last character.
  size_t last = 0;
  for (size_t i = 0; i < bytes.size();) {
    last = i;
    i += static_cast<unsigned char>(bytes[i]) >= 0x81 && i + 1 < bytes.size() ? 2 : 1;
  }
  *lead = bytes[last];
  if (last + 1 < bytes.size()) *trail = bytes[last + 1];
}
