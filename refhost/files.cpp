// files.cpp: the reference host's game file system. A folder or a .zip archive
// is mounted through PhysicsFS; an in-memory overlay of files lies over it.
#include <physfs.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "host/host_services.h"
#include "refhost/game_state.h"
#include "refhost/korvohost.h"

namespace {

struct FileSystem {
  bool initialized = false;
  std::string mounted;
  std::map<std::string, std::string> overlay;
  std::set<void*> images;
  uint32_t generation = 0;   // counts mounts, unmounts and overlay changes

  ~FileSystem() {
    for (void* image : images) std::free(image);
    if (initialized) PHYSFS_deinit();
  }
};

FileSystem& Fs() {
  static FileSystem fs;
  return fs;
}

std::string Normalize(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  while (!p.empty() && p[0] == '/') p.erase(0, 1);
  return p;
}

bool ReadMounted(const std::string& path, std::string* bytes) {
  FileSystem& fs = Fs();
  if (fs.mounted.empty()) return false;
  PHYSFS_File* file = PHYSFS_openRead(path.c_str());
  if (!file) return false;
  const PHYSFS_sint64 length = PHYSFS_fileLength(file);
  bool ok = length >= 0;
  if (ok) {
    bytes->resize(static_cast<size_t>(length));
    ok = length == 0 || PHYSFS_readBytes(file, bytes->data(), length) == length;
  }
  PHYSFS_close(file);
  return ok;
}

// Adds the mounted files under dir (recursively) to out.
void ListMounted(const std::string& dir, std::set<std::string>* out) {
  char** entries = PHYSFS_enumerateFiles(dir.c_str());
  if (!entries) return;
  for (char** e = entries; *e; ++e) {
    const std::string path = dir.empty() ? *e : dir + "/" + *e;
    PHYSFS_Stat stat;
    if (!PHYSFS_stat(path.c_str(), &stat)) continue;
    if (stat.filetype == PHYSFS_FILETYPE_DIRECTORY) ListMounted(path, out);
    else out->insert(path);
  }
  PHYSFS_freeList(entries);
}

}  // namespace

namespace korvohost {

std::vector<std::string> ListFiles() {
  std::set<std::string> paths;
  if (!Fs().mounted.empty()) ListMounted("", &paths);
  for (const auto& entry : Fs().overlay) paths.insert(entry.first);
  return {paths.begin(), paths.end()};
}

bool Mount(const std::string& root, std::string* error) {
  FileSystem& fs = Fs();
  if (!fs.initialized) {
    if (!PHYSFS_init(nullptr)) {
      if (error) *error = PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode());
      return false;
    }
    fs.initialized = true;
  }
  Unmount();
  if (!PHYSFS_mount(root.c_str(), "/", 1)) {
    if (error) *error = PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode());
    return false;
  }
  fs.mounted = root;
  return true;
}

void Unmount() {
  FileSystem& fs = Fs();
  ++fs.generation;
  if (!fs.mounted.empty()) PHYSFS_unmount(fs.mounted.c_str());
  fs.mounted.clear();
}

void OverlayFile(const std::string& path, const std::string& bytes) {
  Fs().overlay[Normalize(path)] = bytes;
  ++Fs().generation;
}

bool RemoveOverlayFile(const std::string& path) {
  ++Fs().generation;
  return Fs().overlay.erase(Normalize(path)) > 0;
}

void ClearOverlay() {
  Fs().overlay.clear();
  ++Fs().generation;
}

uint32_t FileSystemGeneration() { return Fs().generation; }

bool ReadFile(const std::string& path, std::string* bytes) {
  const std::string p = Normalize(path);
  auto it = Fs().overlay.find(p);
  if (it != Fs().overlay.end()) {
    *bytes = it->second;
    return true;
  }
  return ReadMounted(p, bytes);
}

int OpenFileImages() { return static_cast<int>(Fs().images.size()); }

}  // namespace korvohost

// ---- Host services --------------------------------------------------------------------

bool GetFileImageInCFS(const char* path, void** image, uint32_t* size) {
  if (!path || !image || !size) return false;
  std::string bytes;
  if (!korvohost::ReadFile(path, &bytes)) return false;
  // One spare byte so that an empty file still gets a distinct image.
  void* copy = std::malloc(bytes.size() + 1);
  if (!copy) return false;
  std::memcpy(copy, bytes.data(), bytes.size());
  Fs().images.insert(copy);
  *image = copy;
  *size = static_cast<uint32_t>(bytes.size());
  return true;
}

void ReleaseFileImage(void* image) {
  if (Fs().images.erase(image)) std::free(image);
}
