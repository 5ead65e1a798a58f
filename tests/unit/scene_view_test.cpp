// Previews and scenes in the reference host's 2D renderer outside sessions:
// DrawCharacter draws the character's portrait in the viewport with its
// option weapons named; a loaded ground is the frame's backdrop with the
// scene's actors on it until ReleaseScene.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expected_text.h"
#include "host/host_characters.h"
#include "host/host_services.h"
#include "refhost/game_setup.h"
#include "refhost/game_state.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"

using namespace korvohost;

namespace {

constexpr uint32_t kClear = 0x102030;

class SceneView : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    std::string error;
    ASSERT_TRUE(Mount(KORVO_ASSET_ROOT, &error)) << error;
    std::vector<std::string> errors;
    ASSERT_TRUE(LoadGameDataIntoGame(&errors));
    SetScreen(640, 480);
  }
  void TearDown() override { Reset(); }

  // "# WHAT", then "KIND TEXTURE-or-TEXT x,y,w,h" of each draw of the frame.
  static std::string Printed(const char* what) {
    std::string text = std::string("# ") + what + "\n";
    for (const DrawRecord& r : DrawList()) {
      text += std::string(DrawKindName(r.kind)) + " " +
              (r.kind == DrawKind::Text ? r.text : r.texture + (r.placeholder ? " missing" : ""));
      if (r.kind != DrawKind::Text)
        text += " " + std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.w) + "," +
                std::to_string(r.h);
      text += "\n";
    }
    return text;
  }
};

// A preview draws the portrait in the viewport with its option weapons named;
// a ground is the backdrop with the scene's actors on it until released.
TEST_F(SceneView, PreviewsAndGroundsDrawUntilReleased) {
  CHARACTER* preview = NewCharacter();
  LoadCharacterReference(preview, GetCharacterID(2));
  AddOptionWeapon(preview, "VULCAN", false);
  AddOptionWeapon(preview, "ROCKETS", true);
  BeginFrame(kClear);
  SetRenderViewport(40, 60, 200, 300);
  DrawCharacter(preview);
  std::string text = Printed("character 3 with two weapons in a viewport");

  CLoadGround("arena.gnd");
  SetCamera(0, 50, -50, GetY3DDegree(-30));
  CHARACTER* com1 = CLoadCharacter(GetCharacterID(0), "com1", 0);
  com1->x = 20;
  com1->z = -50;
  BeginFrame(kClear);
  // The picture's inner part covers the screen: its corner brackets and its
  // name line (18 of 128 columns left, 6 of 96 rows above) fall outside; 240
  // units across 640 pixels put the actor 20 units right of the camera.
  text += Printed("a ground with an actor");
  ReleaseScene();
  EXPECT_EQ(PlayerList.Count(), 0);
  BeginFrame(kClear);
  text += Printed("released");
  EXPECT_MATCHES_EXPECTED("unit/expected/scene_view.expected", text);
}

}  // namespace
