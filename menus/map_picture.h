// map_picture.h: the picture of a map file as the create menu, the room and
// the join list show it.
#pragma once
#include <string>

// Stands in for a map picture that is not there.
constexpr const char* kMissingMapPicture = "maplogo.tga";

// The picture of a map file: the part of the name before its first "-", with
// its last three characters replaced by "TGA", when the interface pictures
// ("data/texture/interface/") hold it; else the map logo. Empty for no map.
std::string MapPictureName(const std::string& mapFile);
