// texture_store.h: the reference host's textures (internal to the host).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/host_graphics.h"

// An RGBA image decoded from the game file system, shared by every registration
// of the same path.
struct Y3DTexture {
  std::string path;
  const std::string* recordedPath = nullptr;   // the path interned, for the draw list
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
TextureToDraw TextureForDraw(TEXTURE texture);
void ReleaseAllTextures();

}  // namespace korvohost::gfx
