// textures.cpp: texture packages, loading with stb_image from the game file system,
// reference counting by path and the missing-texture checker.
#include <stb_image.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <set>

#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "refhost/frame.h"
#include "refhost/texture_store.h"

TEXTUREPACKAGE InterfaceTexture;

namespace {

struct Package {
  std::vector<TEXTURE> pending;
};

// Released textures keep their decoded pixels for a while, so that a dialog
// opened again does not decode its images again while their files are unchanged.
constexpr size_t kRetiredLimit = 256;

struct Store {
  // Every texture ever made lives here until the process ends, so that a
  // handle kept after its release still reads as not live; a texture deleted
  // is emptied and made again from the free list.
  std::deque<Y3DTexture> pool;
  std::vector<TEXTURE> unused;
  std::map<std::string, TEXTURE> byPath;
  std::map<std::string, TEXTURE> retired;
  size_t liveCount = 0;
  std::vector<std::string> missing;   // each path once, in the order of its first miss
  std::set<std::string> listed;        // the paths of `missing`
  // Paths whose load failed, not read again while the file system is unchanged
  // (a dialog with a missing image is opened again and again).
  std::set<std::string> absent;
  uint32_t absentGeneration = 0;
  std::set<Package*> packages;

  TEXTURE Make(const std::string& path) {
    TEXTURE t;
    if (unused.empty()) {
      t = &pool.emplace_back();
    } else {
      t = unused.back();
      unused.pop_back();
    }
    t->path = path;
    t->recordedPath = korvohost::gfx::InternText(path);
    return t;
  }
  void Delete(TEXTURE t) {
    *t = Y3DTexture();
    unused.push_back(t);
  }
};

Store& S() {
  static Store store;
  return store;
}

Package* PackageOf(TEXTUREPACKAGE* package) {
  if (!package->impl) {
    package->impl = new Package;
    S().packages.insert(static_cast<Package*>(package->impl));
  }
  return static_cast<Package*>(package->impl);
}

std::string NormalizePath(const char* path) {
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  return p;
}

// Decodes the file into the texture (unless it still holds the pixels of the
// same bytes); false when it is absent or not an image.
bool Decode(Y3DTexture* t) {
  std::string bytes;
  if (!korvohost::ReadFile(t->path, &bytes)) return false;
  const size_t hash = std::hash<std::string>()(bytes);
  if (!t->rgba.empty() && t->sourceHash == hash) return true;
  t->sourceHash = hash;
  int w = 0, h = 0, channels = 0;
  stbi_uc* pixels = stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                          int(bytes.size()), &w, &h, &channels, 4);
  if (!pixels) {
    t->rgba.clear();
    return false;
  }
  t->width = w;
  t->height = h;
  t->rgba.assign(pixels, pixels + size_t(w) * size_t(h) * 4);
  stbi_image_free(pixels);
  return true;
}

void Unpend(TEXTURE t) {
  if (!t->pending) return;
  auto& list = PackageOf(t->pending)->pending;
  list.erase(std::remove(list.begin(), list.end(), t), list.end());
  t->pending = nullptr;
}

// Magenta and black squares of 8 pixels with a white cross corner to corner.
Y3DTexture MakePlaceholder() {
  Y3DTexture t;
  t.path = "<missing>";
  t.loaded = true;
  t.width = t.height = 32;
  t.rgba.resize(32 * 32 * 4);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      uint8_t* p = &t.rgba[size_t(y * 32 + x) * 4];
      const bool cross = x == y || x == 31 - y;
      const bool magenta = ((x / 8) + (y / 8)) % 2 == 0;
      p[0] = cross || magenta ? 255 : 0;
      p[1] = cross ? 255 : 0;
      p[2] = cross || magenta ? 255 : 0;
      p[3] = 255;
    }
  }
  return t;
}

}  // namespace

// ---- Host services ------------------------------------------------------------------------

bool RegisterNewTexture(TEXTUREPACKAGE* package, const char* path, TEXTURE* out, int) {
  if (!package || !path || !out) return false;
  Store& s = S();
  const std::string key = NormalizePath(path);
  auto it = s.byPath.find(key);
  TEXTURE t;
  if (it != s.byPath.end()) {
    t = it->second;
  } else {
    auto old = s.retired.find(key);
    if (old != s.retired.end()) {
      t = old->second;
      s.retired.erase(old);
      t->loaded = t->missing = false;
    } else {
      t = s.Make(key);
    }
    s.byPath[key] = t;
    t->live = true;
    ++s.liveCount;
  }
  ++t->refs;
  if (!t->loaded && !t->pending) {
    t->pending = package;
    PackageOf(package)->pending.push_back(t);
  }
  *out = t;
  return true;
}

bool LoadTexture(TEXTUREPACKAGE* package, int) {
  if (!package) return false;
  Store& s = S();
  if (s.absentGeneration != korvohost::FileSystemGeneration()) {
    s.absent.clear();
    s.absentGeneration = korvohost::FileSystemGeneration();
  }
  std::vector<TEXTURE> pending;
  pending.swap(PackageOf(package)->pending);
  bool all = true;
  for (TEXTURE t : pending) {
    t->pending = nullptr;
    t->loaded = true;
    t->missing = s.absent.count(t->path) != 0 || !Decode(t);
    if (t->missing) {
      s.absent.insert(t->path);
      if (s.listed.insert(t->path).second) s.missing.push_back(t->path);
      all = false;
    }
  }
  return all;
}

void ReleaseTexture(TEXTURE texture, int) {
  Store& s = S();
  if (!texture || !texture->live) return;
  if (--texture->refs > 0) return;
  Unpend(texture);
  s.byPath.erase(texture->path);
  texture->live = false;
  --s.liveCount;
  if (s.retired.size() >= kRetiredLimit) {
    s.Delete(s.retired.begin()->second);
    s.retired.erase(s.retired.begin());
  }
  s.retired[texture->path] = texture;
}

// ---- Host internals -------------------------------------------------------------------------

namespace korvohost::gfx {

const Y3DTexture* MissingImage() {
  static const Y3DTexture checker = MakePlaceholder();
  return &checker;
}

void ReleaseAllTextures() {
  Store& s = S();
  for (Y3DTexture& t : s.pool)
    if (t.live || !t.path.empty()) s.Delete(&t);
  for (Package* p : s.packages) p->pending.clear();
  s.liveCount = 0;
  s.retired.clear();
  s.byPath.clear();
  s.missing.clear();
  s.listed.clear();
  s.absent.clear();
}

}  // namespace korvohost::gfx

// ---- Control API ----------------------------------------------------------------------------

namespace korvohost {

int MissingTextureCount() { return int(S().missing.size()); }
std::vector<std::string> MissingTextures() { return S().missing; }
int LiveTextureCount() { return int(S().liveCount); }

}  // namespace korvohost
