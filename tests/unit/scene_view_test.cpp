// Previews and scenes in the reference host's 2D renderer outside sessions:
// DrawCharacter draws the character's portrait in the viewport with its
// option weapons named; a loaded ground is the frame's backdrop with the
// scene's actors on it until ReleaseScene. Under `korvoui run` none of it draws.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_characters.h"
#include "host/host_services.h"
#include "refhost/game_setup.h"
#include "refhost/game_state.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "host/session_state.h"

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
  void TearDown() override {
    korvostate::SetRecording(false);
    Reset();
  }

  // "KIND TEXTURE-or-TEXT x,y,w,h" of each draw of the frame.
  static std::vector<std::string> Draws() {
    std::vector<std::string> out;
    for (const DrawRecord& r : DrawList()) {
      std::string line = std::string(DrawKindName(r.kind)) + " " +
                         (r.kind == DrawKind::Text ? r.text : r.texture + (r.placeholder ? " missing" : ""));
      if (r.kind != DrawKind::Text)
        line += " " + std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.w) + "," +
                std::to_string(r.h);
      out.push_back(line);
    }
    return out;
  }
};

TEST_F(SceneView, APreviewDrawsThePortraitWithItsWeaponsInTheViewport) {
  CHARACTER* preview = NewCharacter();
  LoadCharacterReference(preview, GetCharacterID(2));
  AddOptionWeapon(preview, "VULCAN", false);
  AddOptionWeapon(preview, "ROCKETS", true);
  BeginFrame(kClear);
  SetRenderViewport(40, 60, 200, 300);
  DrawCharacter(preview);
  EXPECT_EQ(Draws(), (std::vector<std::string>{"bitmap menu/portrait_char3.png 40,60,200,300",
                                               "text L: ROCKETS", "text R: VULCAN"}));
  EXPECT_NE(GetPixel(140, 150) & 0xFFFFFF, kClear);   // the portrait is in the frame
  EXPECT_EQ(GetPixel(300, 150) & 0xFFFFFF, kClear);   // and only in the viewport

  RemoveOptionWeapon(preview, true);
  LoadCharacterReference(preview, GetCharacterID(0));
  BeginFrame(kClear);
  DrawCharacter(preview);
  EXPECT_EQ(Draws(), (std::vector<std::string>{"bitmap menu/portrait_char1.png 40,60,200,300",
                                               "text R: VULCAN"}));
  // A character the table does not know: a plain panel, never a crash.
  LoadCharacterReference(preview, 999);
  BeginFrame(kClear);
  DrawCharacter(preview);
  EXPECT_EQ(Draws(), (std::vector<std::string>{"bitmap  40,60,200,300", "text R: VULCAN"}));
  DeleteCharacter(preview);
  DrawCharacter(preview);   // gone: nothing
  EXPECT_EQ(Draws().size(), 2u);
}

TEST_F(SceneView, AGroundIsTheBackdropWithTheSceneActorsUntilReleased) {
  CLoadGround("arena.gnd");
  SetCamera(0, 50, -50, GetY3DDegree(-30));
  CHARACTER* com1 = CLoadCharacter(GetCharacterID(0), "com1", 0);
  com1->x = 20;
  com1->z = -50;
  BeginFrame(kClear);
  const std::vector<std::string> draws = Draws();
  ASSERT_EQ(draws.size(), 2u);
  // The picture's inner part covers the screen: its corner brackets and its
  // name line (18 of 128 columns left, 6 of 96 rows above) fall outside.
  EXPECT_EQ(draws[0], "bitmap menu/arena.TGA -125,-41,890,667");
  // 240 units across 640 pixels: 20 units right of the camera.
  EXPECT_EQ(draws[1], "bitmap menu/portrait_char1.png 360,227,26,26");
  EXPECT_NE(GetPixel(5, 5) & 0xFFFFFF, kClear);

  ReleaseScene();
  EXPECT_EQ(PlayerList.Count(), 0);
  BeginFrame(kClear);
  EXPECT_TRUE(Draws().empty());
  EXPECT_EQ(GetPixel(5, 5) & 0xFFFFFF, kClear);
  // A map path with its folder finds the same picture.
  CLoadGround("map/canyon.gnd-DE-TE");
  BeginFrame(kClear);
  ASSERT_EQ(Draws().size(), 1u);
  EXPECT_EQ(Draws()[0], "bitmap menu/canyon.TGA -125,-41,890,667");
  ReleaseSceneAtOnce();
  BeginFrame(kClear);
  EXPECT_TRUE(Draws().empty());
}

TEST_F(SceneView, SessionsRecordButNeverDraw) {
  korvostate::SetRecording(true);
  CHARACTER* preview = NewCharacter();
  LoadCharacterReference(preview, GetCharacterID(1));
  CLoadGround("arena.gnd");
  CLoadCharacter(GetCharacterID(0), "com1", 0);
  BeginFrame(kClear);
  SetRenderViewport(0, 0, 100, 100);
  DrawCharacter(preview);
  EXPECT_TRUE(Draws().empty());
  ReleaseScene();   // a record only: the scene's actor stays
  EXPECT_EQ(PlayerList.Count(), 1);
  EXPECT_EQ(korvostate::TakeCalls(),
            (std::vector<std::string>{"NewCharacter() -> @1", "LoadCharacterReference(@1, 2)",
                                      "CLoadGround(\"arena.gnd\")", "CLoadCharacter(1, \"com1\", 0) -> @2",
                                      "ReleaseScene()"}));
}

}  // namespace
