// map_picture.cpp: finding a map's picture among the interface pictures.
#include "menus/map_picture.h"

#include <cstdio>

#include "host/host_services.h"

namespace {

constexpr const char* kPictureFolder = "data/texture/interface/%s";

}  // namespace

std::string MapPictureName(const std::string& mapFile) {
  if (mapFile.empty()) return "";
  std::string name = mapFile.substr(0, mapFile.find('-'));
  name = name.substr(0, name.size() >= 3 ? name.size() - 3 : 0) + "TGA";
  char path[512];
  std::snprintf(path, sizeof path, kPictureFolder, name.c_str());
  return FindFilesInCFS(path) > 0 ? name : kMissingMapPicture;
}
