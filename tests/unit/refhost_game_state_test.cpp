// Reference host game state: the account, mission, character, option, binding
// and file search services, and the recorded forms of their calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_accounts.h"
#include "host/host_characters.h"
#include "host/host_options.h"
#include "host/host_services.h"
#include "refhost/game_state.h"
#include "refhost/korvohost.h"
#include "host/session_state.h"

namespace {

class HostGameState : public ::testing::Test {
 protected:
  void SetUp() override {
    korvohost::Reset();
    korvostate::SetRecording(true);
  }
  void TearDown() override {
    korvostate::SetRecording(false);
    korvohost::Reset();
  }
  // Sets up a record as a session line would; fails the test on an error.
  static void Record(const std::string& kind, std::vector<korvostate::SToken> keys,
                     std::vector<korvostate::SField> fields = {}) {
    std::string error;
    ASSERT_TRUE(korvohost::HostStateProvider()->SetRecord(kind, keys, fields, error)) << error;
  }
};

std::string Enum(int size) {
  std::vector<char> buffer(size + 8, '#');
  EnumAccount(buffer.data(), size);
  return buffer.data();
}

// ---- Accounts and missions ---------------------------------------------------------------

TEST_F(HostGameState, EnumAccountJoinsNamesAndStopsAtTheFirstNameThatDoesNotFit) {
  for (const char* n : {"ALPHA", "BRAVO", "C"}) ASSERT_TRUE(CreateAccount(n));
  // 13 bytes and the NUL fit in 14; "|C" and the NUL need 3 more than "ALPHA|BRAVO".
  const std::pair<int, const char*> cases[] = {{1024, "ALPHA|BRAVO|C"}, {14, "ALPHA|BRAVO|C"}, {13, "ALPHA|BRAVO"},
                                               {12, "ALPHA|BRAVO"},     {11, "ALPHA"},         {6, "ALPHA"},
                                               {5, ""}};
  for (const auto& [size, names] : cases) EXPECT_EQ(Enum(size), names) << size;
  std::vector<char> untouched(4, '#');
  EnumAccount(untouched.data(), 0);
  EXPECT_EQ(untouched[0], '#');
}

// Their recorded calls: session_sp_pilot_choice.
TEST_F(HostGameState, CreateDestroyAndSetAccountFollowTheirRules) {
  Record("mission", {{"MISSION 01", true}}, {{"initial", {"true"}}, {"key", {"M01"}}});
  Record("mission", {{"MISSION 02", true}});
  EXPECT_TRUE(CreateAccount("ALPHA"));
  EXPECT_FALSE(CreateAccount("ALPHA"));
  EXPECT_TRUE(CreateAccount("alpha"));   // names are case-sensitive
  EXPECT_TRUE(SetAccount("ALPHA"));
  CMissionAccount* a = GetCurAccount();
  ASSERT_NE(a, nullptr);
  EXPECT_STREQ(a->GetName(), "ALPHA");
  // One achievement per initial mission, keyed by the mission's key.
  SMissionAchievement* m1 = a->GetMissionAchievement("M01");
  ASSERT_NE(m1, nullptr);
  EXPECT_STREQ(m1->name, "MISSION 01");
  EXPECT_EQ(m1->count, 0);
  EXPECT_EQ(a->GetMissionAchievement("MISSION 01"), m1);   // found by name as well
  EXPECT_EQ(a->GetMissionAchievement("MISSION 02"), nullptr);

  EXPECT_FALSE(SetAccount("NOBODY"));
  EXPECT_EQ(GetCurAccount(), nullptr);   // an unknown name leaves none current
  EXPECT_TRUE(SetAccount("ALPHA"));
  EXPECT_TRUE(DestroyAccount("ALPHA"));
  EXPECT_EQ(GetCurAccount(), nullptr);
  EXPECT_FALSE(DestroyAccount("ALPHA"));
  EXPECT_TRUE(SetAccount(nullptr));
}

// Account fields are the record: what the module sets is what a session shows
// (the account lines of session_sp_briefing). A record loaded again replaces
// the one in place, so that the module's pointers stay good; missions resolve
// by their exact name.
TEST_F(HostGameState, AccountsAndMissionsAreTheirRecordsReplacedInPlace) {
  Record("mission", {{"MISSION 01", true}});
  Record("account", {{"ALPHA", true}}, {{"last", {"GONE"}}, {"total", {"3725"}}});
  Record("achievement", {{"ALPHA", true}, {"K", true}}, {{"name", {"MISSION 01"}}, {"best", {"61"}}});
  ASSERT_TRUE(CreateAccount("BRAVO"));
  ASSERT_TRUE(SetAccount("ALPHA"));
  CMissionAccount* a = GetCurAccount();
  EXPECT_EQ(a->GetTotalClearTime(), 3725);
  EXPECT_EQ(a->GetMissionAchievement("K")->best, 61);
  EXPECT_EQ(a->GetLastMission(), nullptr);   // no mission has that name
  EXPECT_EQ(a->GetCurrentMission(), nullptr);
  EXPECT_EQ(MissionManager.FindMission("mission 01"), nullptr);
  a->SetCurrentMission(MissionManager.FindMission("MISSION 01"));
  a->SetLastMission(a->GetCurrentMission());
  a->character = 3;
  std::vector<std::string> lines;
  std::string error;
  ASSERT_TRUE(korvohost::HostStateProvider()->ShowRecords("account", {{"ALPHA", true}}, lines, error));
  EXPECT_EQ(lines[0], "account \"ALPHA\" character=3 left=0 right=0 last=\"MISSION 01\" current=\"MISSION 01\" "
                      "total=3725");

  korvohost::SAccountRecord record;
  record.name = "ALPHA";
  record.character = 6;
  record.hasLast = true;
  record.last = "M";
  korvohost::PutAccount(record);   // the same object, the new record
  EXPECT_EQ(GetCurAccount(), a);
  EXPECT_EQ(a->character, 6);
  EXPECT_EQ(Enum(64), "ALPHA|BRAVO");
  korvohost::SMissionRecord m;
  m.name = "M";
  m.script = "one.scr";
  korvohost::PutMission(m);
  EXPECT_EQ(a->GetLastMission(), MissionManager.FindMission("M"));
  m.script = "two.scr";
  korvohost::PutMission(m);
  EXPECT_STREQ(MissionManager.FindMission("M")->script, "two.scr");
  EXPECT_EQ(korvohost::Game().missions.size(), 2u);
}

// ---- Characters and scene ------------------------------------------------------------------

TEST_F(HostGameState, CharactersPartsSceneObjectsAndInGameReads) {
  // Outside the tables (the pilot screens read the rows inside them).
  EXPECT_EQ(GetCharacterID(0), -1);
  EXPECT_STREQ(GetCharacterName(-1), "");
  EXPECT_STREQ(OPT_GetNameByID(4), "");

  CHARACTER* preview = NewCharacter();
  CHARACTER* com = CLoadCharacter(5, "com1", 0);
  EXPECT_EQ(PlayerList.Count(), 1);   // previews are not in the player list
  EXPECT_EQ(PlayerList.At(0), com);
  ChangeControlCharacter(com);
  EXPECT_EQ(pControlCharacter, com);
  AddOptionWeapon(preview, "LASER GUN", true);
  SetCamera(0, 50, -50, GetY3DDegree(-30));
  DeleteCharacter(com);
  EXPECT_EQ(pControlCharacter, nullptr);
  EXPECT_EQ(PlayerList.Count(), 0);
  EXPECT_EQ(korvostate::TakeCalls(),
            (std::vector<std::string>{"NewCharacter() -> @1", "CLoadCharacter(5, \"com1\", 0) -> @2",
                                      "ChangeControlCharacter(@2)", "AddOptionWeapon(@1, \"LASER GUN\", true)",
                                      "SetCamera(0, 50, -50, -0.523599)", "DeleteCharacter(@2)"}));
  CHARACTER* third = NewCharacter();
  ASSERT_NE(korvohost::FindObject("3"), nullptr);   // numbers are never reused
  EXPECT_EQ(third, &korvohost::FindObject("3")->actor);

  // The HUD's option parts come from the actor records (its heat and weapon:
  // session_hud); a forgotten option part leaves no dangling mount.
  Record("actoroption", {{"laser"}}, {{"name", {"LASER"}}, {"color", {"0x80112233"}}});
  Record("actor", {{"me"}}, {{"loption", {"@laser"}}});
  CHARACTER* me = &korvohost::FindObject("me")->actor;
  COPT_Option* left = GetOptionWeapon(me, true);
  ASSERT_NE(left, nullptr);
  EXPECT_STREQ(left->name, "LASER");
  EXPECT_EQ(left->color[0], 0x11);   // R, G, B, A
  EXPECT_EQ(left->color[3], 0x80);
  EXPECT_EQ(GetOptionWeapon(me, false), nullptr);
  std::string error;
  ASSERT_TRUE(korvohost::HostStateProvider()->ForgetRecords("actoroption", {{"laser"}}, error));
  EXPECT_EQ(GetOptionWeapon(me, true), nullptr);   // no dangling mount
}

// ---- Options -----------------------------------------------------------------------------------

// The module writes numbers to number items and texts to the macros, and
// reads items nothing set yet as 0 or "" (the options sessions); the other
// way round a number becomes its decimal text and a text its leading number.
TEST_F(HostGameState, OptionItemsConvertBetweenNumbersAndTexts) {
  OptionMacroManager.UpdateItem("macro1", 42);
  OptionSoundManager.SetValue("effect_volume", "12abc");
  EXPECT_STREQ(OptionMacroManager.FindItem("macro1")->GetString(), "42");
  EXPECT_EQ(OptionSoundManager.FindItem("effect_volume")->GetValue(), 12u);
  OptionSoundManager.SetValue("effect_volume", "none");
  EXPECT_EQ(OptionSoundManager.FindItem("effect_volume")->GetValue(), 0u);
}

// ---- Key bindings and raw input -----------------------------------------------------------------

std::vector<std::string> Inputs(const char* action) {
  std::vector<std::string> out;
  CCtrlClient* c = CtrlManager.FindClient(action);
  for (int i = 0; i < c->GetNumItems(); ++i) out.emplace_back(c->GetItemName(i));
  return out;
}

// The controls session walks moving an input between actions, keeping the
// newest two, creating a binding, reading back and the defaults, and the raw
// input handlers; here pressing an input the action already has.
TEST_F(HostGameState, AssignItemToClientLeavesAnInputTheActionHas) {
  Record("binding", {{"JUMP"}}, {{"inputs", {"KEY57,KEY17"}}});
  CtrlManager.AssignItemToClient("JUMP", "KEY17", 2);
  EXPECT_EQ(Inputs("JUMP"), (std::vector<std::string>{"KEY57", "KEY17"}));
}

// ---- Files and recording ---------------------------------------------------------------------

std::vector<std::string> Found(const char* pattern) {
  char** names = nullptr;
  const int n = FindFiles(pattern, &names);
  std::vector<std::string> out(names, names + n);
  Release2DArray(names, n);
  return out;
}

// The create menu lists "*.*" and the map pictures are looked up by name
// (session_mp_create_game, session_mp_map_pictures); here a star stops at a
// folder, a question mark takes one character, and the order is byte order.
TEST_F(HostGameState, FindFilesAndRecording) {
  for (const char* p : {"data/map/b-dm.gnd", "data/map/a.gnd", "data/map/B.gnd", "data/map/sub/c.gnd",
                        "data/map/a.GND", "data/map/ab.gnd"})
    korvohost::OverlayFile(p, "x");
  EXPECT_EQ(Found("map/*.gnd"), (std::vector<std::string>{"B.gnd", "a.gnd", "ab.gnd", "b-dm.gnd"}));
  EXPECT_EQ(Found("map/?.gnd"), (std::vector<std::string>{"B.gnd", "a.gnd"}));
  EXPECT_EQ(Found("nothing*"), std::vector<std::string>{});
  EXPECT_EQ(FindFilesInCFS("data/map/a.*"), 2);
  EXPECT_TRUE(korvostate::TakeCalls().empty());   // searches are not recorded

  // Outside sessions nothing is recorded; the state is kept all the same.
  korvostate::SetRecording(false);
  EXPECT_TRUE(CreateAccount("ALPHA"));
  PlayIntroMovie();
  korvostate::SetRecording(true);
  EXPECT_TRUE(korvostate::TakeCalls().empty());
  EXPECT_NE(korvohost::FindAccount("ALPHA"), nullptr);
}

}  // namespace
