// scene_view.h: what the reference host's 2D renderer shows in place of the
// game's 3D views outside sessions: a character preview (the portrait of the
// character with its mounted option weapons named) in the viewport rectangle,
// and the running scene (the inner part of the map picture, without its frame
// and name, as the frame's backdrop, each listed actor as a marker placed from
// the camera). Internal to the host.
#pragma once
#include <string>

#include "refhost/game_state.h"

namespace korvohost {

// Portrait path of a character id ("" when the table has none).
std::string PortraitOf(int characterId);
// Picture texture ("menu/" + picture) of a map file ("" when not a known map).
std::string MapPictureOf(const std::string& mapFile);

// DrawCharacter: the preview of the actor in the viewport (whole screen without one).
void DrawCharacterPreview(const ObjectEntry& actor);
// Called by BeginFrame: the scene's backdrop and actors, when a scene is loaded.
void DrawSceneBackdrop();

}  // namespace korvohost
