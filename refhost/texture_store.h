// texture_store.h: the reference host's textures (internal to the host).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/host_graphics.h"
#include "refhost/frame.h"

// An RGBA image decoded from the game file system, shared by every registration
// of the same path.
struct Y3DTexture {
  std::string path;
  const std::string* recordedPath = nullptr;   // the path interned, for the draw list
  bool live = false;                    // registered and not yet released
  int refs = 0;
  bool loaded = false;
  bool missing = false;                 // the load found no file or could not decode it
  TEXTUREPACKAGE* pending = nullptr;    // registered there and waiting for LoadTexture
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
  size_t sourceHash = 0;                // hash of the file bytes rgba was decoded from
};

namespace korvohost::gfx {

// What a draw of a texture handle uses: the image it samples (the texture's own,
// or the missing-texture checker when the handle is not live, the texture is not
// loaded or its load failed) and the path it records, interned ("<released>"
// when the handle is not live).
struct TextureToDraw {
  const Y3DTexture* image;
  const std::string* path;
  bool placeholder;
};
// The missing-texture checker.
const Y3DTexture* MissingImage();

// Textures are never freed (a deleted one is emptied and kept for reuse), so
// any handle the host gave out can be read, whether live or not.
inline TextureToDraw TextureForDraw(TEXTURE texture) {
  static const Y3DTexture* const checker = MissingImage();
  static const std::string* const released = InternText("<released>");
  const bool live = texture->live;
  const bool usable = live && texture->loaded && !texture->missing;
  return {usable ? texture : checker, live ? texture->recordedPath : released, !usable};
}
void ReleaseAllTextures();

}  // namespace korvohost::gfx
