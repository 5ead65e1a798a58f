// scene_view.cpp: character previews and the scene backdrop, drawn with the
// host's own 2D services so that they land in the draw list and the frame.
#include "refhost/scene_view.h"

#include <algorithm>

#include "host/host_graphics.h"
#include "host/host_services.h"

namespace korvohost {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kPreviewFrame = 0xC0182028;   // behind a missing portrait
constexpr uint32_t kWeaponText = 0xFFFFE080;
constexpr uint32_t kFriendTint = 0xFFFFFFFF;
constexpr uint32_t kEnemyTint = 0xFFFF7070;
constexpr int kTextLine = 16;                    // ShowText is 14 pixels high
constexpr float kUnitsAcross = 240.0f;           // scene units the screen width shows
// The part of a map picture the backdrop shows, in fractions of the picture: the
// menus' pictures carry corner brackets and the map's name along the foot,
// which must not lie under the heads-up display's own texts.
constexpr float kGroundLeft = 18.0f / 128, kGroundRight = 110.0f / 128;
constexpr float kGroundTop = 6.0f / 96, kGroundBottom = 75.0f / 96;

// Textures of previews and scenes: a package of their own, so that loading
// them never loads what the module has registered and not yet loaded.
TEXTUREPACKAGE& ScenePackage() {
  static TEXTUREPACKAGE package;
  return package;
}

// Draws a picture of the game file system stretched over the rectangle; a
// missing picture draws a plain panel. Released at once: the texture store
// keeps the decoded pixels of released textures for the next frame.
void DrawPicture(const std::string& path, int x, int y, int w, int h, uint32_t tint) {
  std::string bytes;
  TEXTURE texture = nullptr;
  if (!path.empty() && ReadFile(path, &bytes) &&
      RegisterNewTexture(&ScenePackage(), path.c_str(), &texture, 0))
    LoadTexture(&ScenePackage(), 0);
  DrawFrameBitmap(texture, x, y, 0, w, h, Y3DBLEND_SRCALPHA, Y3DBLEND_INVSRCALPHA,
                  texture ? tint : kPreviewFrame, 0, 1, 1);
  if (texture) ReleaseTexture(texture, 0);
}

}  // namespace

std::string PortraitOf(int characterId) {
  for (const SCharacterRecord& c : Game().characters)
    if (c.id == characterId) return c.portrait;
  return "";
}

std::string MapPictureOf(const std::string& mapFile) {
  // The module may pass the map with its folder ("map/arena.gnd").
  const size_t slash = mapFile.rfind('/');
  const std::string file = slash == std::string::npos ? mapFile : mapFile.substr(slash + 1);
  for (const SMapRecord& m : Game().maps)
    if (m.file == file) return "menu/" + m.picture;
  return "";
}

void DrawCharacterPreview(const ObjectEntry& actor) {
  const SceneView& view = Game().scene;
  const int x = view.hasViewport ? view.viewport[0] : 0;
  const int y = view.hasViewport ? view.viewport[1] : 0;
  const int w = view.hasViewport ? view.viewport[2] : SCREEN_X;
  const int h = view.hasViewport ? view.viewport[3] : SCREEN_Y;
  if (w <= 0 || h <= 0) return;
  DrawPicture(PortraitOf(actor.characterId), x, y, w, h, kWhite);
  // Right hand above left hand, at the foot of the preview.
  int line = y + h - kTextLine;
  for (int hand : {1, 0}) {
    if (actor.weapons[hand].empty()) continue;
    const std::string text = std::string(hand ? "L: " : "R: ") + actor.weapons[hand];
    ShowText(x + 4, line, kWeaponText, text.c_str());
    line -= kTextLine;
  }
}

void DrawSceneBackdrop() {
  const SceneView& view = Game().scene;
  if (view.ground.empty() || SCREEN_X <= 0 || SCREEN_Y <= 0) return;
  // The whole picture drawn larger than the screen, its inner part on it.
  const float w = float(SCREEN_X) / (kGroundRight - kGroundLeft);
  const float h = float(SCREEN_Y) / (kGroundBottom - kGroundTop);
  DrawPicture(MapPictureOf(view.ground), -int(kGroundLeft * w), -int(kGroundTop * h), int(w), int(h), kWhite);
  // Seen from above: the camera's x and z at the centre of the screen.
  const float scale = float(SCREEN_X) / kUnitsAcross;
  const int size = std::max(8, SCREEN_X / 24);
  const int team = pControlCharacter ? pControlCharacter->team : 0;
  for (const auto& o : Game().objects) {
    if (o->kind != ObjectKind::Actor || !o->listed) continue;
    const CHARACTER& c = o->actor;
    const int cx = int(float(SCREEN_X) / 2 + (c.x - view.camera[0]) * scale);
    const int cy = int(float(SCREEN_Y) / 2 - (c.z - view.camera[2]) * scale);
    DrawPicture(PortraitOf(o->characterId), cx - size / 2, cy - size / 2, size, size,
                c.team == team ? kFriendTint : kEnemyTint);
  }
}

}  // namespace korvohost
