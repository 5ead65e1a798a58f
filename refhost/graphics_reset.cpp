// graphics_reset.cpp: puts the host's graphics back to a fresh state.
#include "refhost/fonts.h"
#include "refhost/frame.h"
#include "refhost/texture_store.h"

namespace korvohost {

void ResetGraphics() {
  gfx::ReleaseAllTextures();
  gfx::ResetFonts();
  gfx::TheFrame() = gfx::Frame();
}

}  // namespace korvohost
