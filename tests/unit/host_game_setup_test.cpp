// The host's game outside sessions: the shipped game data in the game state;
// pilots, options and key bindings written through the host services reach
// the profile folder and come back after a restart; a damaged file is
// reported with file and line; a folder in use is read-only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/host_accounts.h"
#include "host/host_options.h"
#include "host/host_services.h"
#include "refhost/game_setup.h"
#include "refhost/game_state.h"
#include "refhost/korvohost.h"
#include "refhost/profile_files.h"
#include "refhost/profile_store.h"

using namespace korvohost;
namespace fs = std::filesystem;

namespace {

class HostGameSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    char pattern[] = "/tmp/korvo_game_setup_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    dir_ = root_ + "/profile";
    std::string error;
    ASSERT_TRUE(Mount(KORVO_ASSET_ROOT, &error)) << error;
  }
  void TearDown() override {
    DetachProfile();
    Reset();
    fs::remove_all(root_);
  }

  // What a freshly started tool does: the game data, then the profile.
  void Start() {
    std::vector<std::string> errors;
    EXPECT_TRUE(LoadGameDataIntoGame(&errors)) << (errors.empty() ? "" : errors[0]);
    std::string error;
    ASSERT_TRUE(AttachProfile(dir_, &error)) << error;
  }
  // A restart of the tool within this process: everything in memory is gone.
  void Restart() {
    DetachProfile();
    ResetGame();
    Start();
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(dir_ + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string root_, dir_;
};

TEST_F(HostGameSetup, PilotsOptionsAndBindingsSurviveARestart) {
  char buffer[256];
  EXPECT_EQ(Res_LoadString(26, buffer, sizeof buffer), 0);
  SetString(40, "KEPT");
  // The root's table replaces a number it has and leaves the others alone.
  OverlayFile("data/table/messages.txt", "26 \"MAP GONE\"\n27 \"" + std::string(255, 'R') + "\"\n");
  Start();
  EXPECT_EQ(Res_LoadString(26, buffer, sizeof buffer), 8);
  EXPECT_STREQ(buffer, "MAP GONE");
  EXPECT_EQ(Res_LoadString(27, buffer, sizeof buffer), 255);   // the longest text fits whole
  EXPECT_EQ(std::string(buffer), std::string(255, 'R'));
  EXPECT_EQ(Res_LoadString(40, buffer, sizeof buffer), 4);

  ASSERT_TRUE(CreateAccount("ALPHA"));
  ASSERT_TRUE(CreateAccount("BRAVO ONE"));
  EXPECT_FALSE(CreateAccount("a/b"));   // the store's name rules: no pilot, no file
  EXPECT_TRUE(fs::exists(dir_ + "/" + AccountFileName("ALPHA")));
  EXPECT_TRUE(fs::exists(dir_ + "/" + AccountFileName("BRAVO ONE")));
  ASSERT_TRUE(SetAccount("ALPHA"));
  CMissionAccount* alpha = GetCurAccount();
  alpha->character = 4;
  alpha->left = 2;
  alpha->SetLastMission(MissionManager.FindMission("MISSION 01"));
  alpha->Write();
  ASSERT_TRUE(DestroyAccount("BRAVO ONE"));
  EXPECT_FALSE(fs::exists(dir_ + "/" + AccountFileName("BRAVO ONE")));

  OptionGraphicsManager.UpdateItem("RESOLUTION", 3);
  OptionMacroManager.SetValue("MACRO1", "Cover me!");
  WriteOptionGraphics();
  WriteOptionMacro();
  OptionSoundManager.UpdateItem("VOLUME", 9);   // changed, never written
  CtrlManager.AssignItemToClient("FORWARD", "KEY17", 2);
  WriteOptionControlINI();
  EXPECT_NE(Read("options.ini").find("RESOLUTION"), std::string::npos);
  EXPECT_NE(Read("controls.ini").find("KEY17"), std::string::npos);
  EXPECT_TRUE(TakeProfileMessages().empty());

  Restart();
  char names[256];
  EnumAccount(names, sizeof names);
  EXPECT_STREQ(names, "ALPHA");
  ASSERT_TRUE(SetAccount("ALPHA"));
  EXPECT_EQ(GetCurAccount()->character, 4);
  EXPECT_EQ(GetCurAccount()->left, 2);
  ASSERT_NE(GetCurAccount()->GetLastMission(), nullptr);
  EXPECT_STREQ(GetCurAccount()->GetLastMission()->name, "MISSION 01");
  ReadOptionGraphics();
  ReadOptionMacro();
  EXPECT_EQ(OptionGraphicsManager.FindItem("RESOLUTION")->GetValue(), 3u);
  EXPECT_STREQ(OptionMacroManager.FindItem("MACRO1")->GetString(), "Cover me!");
  ReadOptionSound();
  EXPECT_EQ(OptionSoundManager.FindItem("VOLUME")->GetValue(), 0u);
  ReadOptionControlINI();
  CCtrlClient* forward = CtrlManager.FindClient("FORWARD");
  ASSERT_EQ(forward->GetNumItems(), 1);
  EXPECT_STREQ(forward->GetItemName(0), "KEY17");
}

// A damaged file is told with file and line and the rest loads; a folder in
// use is read-only and nothing is written; a folder that cannot be made
// leaves the state alone. Each keeps the game going in memory.
TEST_F(HostGameSetup, ProfileTroubleIsToldAndTheGameGoesOn) {
  fs::create_directories(dir_);
  std::ofstream(dir_ + "/options.ini", std::ios::binary) << "[graphics]\nGAMMA value=7\nBROKEN value=lots\n";
  CProfileStore holder;
  std::string error;
  ASSERT_TRUE(holder.Open(dir_, &error)) << error;
  Start();
  EXPECT_TRUE(ProfileReadOnly());
  const std::vector<std::string> messages = TakeProfileMessages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_NE(messages[0].find("read-only"), std::string::npos) << messages[0];
  EXPECT_EQ(messages[1].rfind(dir_ + "/options.ini:3:", 0), 0u) << messages[1];
  EXPECT_EQ(OptionGraphicsManager.FindItem("GAMMA")->GetValue(), 7u);
  EXPECT_TRUE(CreateAccount("DELTA"));   // kept in memory all the same
  EXPECT_FALSE(fs::exists(dir_ + "/" + AccountFileName("DELTA")));
  holder.Close();

  DetachProfile();
  std::ofstream(root_ + "/file") << "x";
  EXPECT_FALSE(AttachProfile(root_ + "/file/profile", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(ProfileAttached());
  EXPECT_TRUE(CreateAccount("a/b"));   // no hook: any name, nothing written, no crash
}

}  // namespace
