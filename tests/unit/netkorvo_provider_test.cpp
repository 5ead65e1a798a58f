// Tests of the network stand-in's session provider beyond the records
// session: the library globals the scalars write, the values and
// record lines refused (a session stops at them), the lobby tables in the
// online client, and the module's clientinfo and serverinfo records.
#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "host/netkorvo.h"
#include "korvogui/room.h"
#include "tests/unit/netkorvo_support.h"

using Lines = std::vector<std::string>;

TEST_F(NetSessionTest, ScalarsWriteTheLibraryGlobals) {
  const std::pair<const char*, const char*> scalars[] = {
      {"NET_bInitialized", "1"}, {"NET_ServerID", "0x10"}, {"my_client", "3"}, {"Clt.Wins", "65535"},
      {"Clt.Losses", "-1"}, {"Clt.Score", "4000000000"}, {"Clt.Ranking", "bits(0.25)"},
      {"Clt.LoginID", "\"a login id that is longer than its room\""}, {"CC_Manager::FragLimit", "-5"},
      {"CC_Manager::ElapsedTime", "90000"}};
  for (const auto& [name, value] : scalars) EXPECT_EQ(SetScalar(name, value), "") << name << " " << value;
  // The globals in the order set (the ranking's bits in hex).
  std::ostringstream globals;
  globals << NET_bInitialized << " " << NET_ServerID << " " << my_client << " " << Clt.Wins << " " << Clt.Losses
          << " " << Clt.Score << " " << std::hex << Clt.Ranking << std::dec << " " << Clt.LoginID << " "
          << CC_Manager::FragLimit << " " << CC_Manager::ElapsedTime;
  EXPECT_EQ(globals.str(), "1 16 3 65535 65535 4000000000 3e800000 a login id that is lo -5 90000");
}

TEST_F(NetSessionTest, BadScalarValuesAreRefusedAndChangeNothing) {
  EXPECT_EQ(SetScalar("NET_ServerID", "12"), "");
  const std::pair<const char*, const char*> refused[] = {
      {"NET_ServerID", "twelve"}, {"NET_ServerID", "0x1FFFFFFFF"}, {"Clt.Wins", "65536"},
      {"CC_Manager::FragLimit", "-32769"}, {"CS_Manager::CanStart", "yes"},
      {"Clt.LoginID", "null"},   // the login id has no null
      {"NET_Nothing", "1"}};
  for (const auto& [name, value] : refused) EXPECT_NE(SetScalar(name, value), "") << name << " " << value;
  EXPECT_EQ(Scalar("NET_Nothing"), "error: unknown network scalar NET_Nothing");
  EXPECT_FALSE(P().HasScalar("DebugMode"));
  EXPECT_EQ(Scalar("NET_ServerID"), "12");
  EXPECT_EQ(Scalar("Clt.Wins"), "0");
  EXPECT_EQ(Scalar("CS_Manager::CanStart"), "true");
  EXPECT_EQ(SetScalar("Clt.LoginID", "\"null\""), "");
  EXPECT_EQ(Scalar("Clt.LoginID"), "\"null\"");
}

TEST_F(NetSessionTest, BadRecordLinesAreRefusedAndLoseNothing) {
  ASSERT_EQ(Set("game", {"5"}, {"name=Five", "players=2"}), "");
  EXPECT_NE(Set("game", {"5"}, {"players=3", "colour=1"}), "") << "unknown field";
  EXPECT_NE(Set("game", {"5"}, {"players=3", "type=256"}), "") << "8-bit field";
  EXPECT_NE(Set("game", {"5"}, {"address=10.0.0"}), "");
  EXPECT_NE(Set("game", {"5"}, {"address=10.0.0.256"}), "");
  EXPECT_NE(Set("game", {"6"}, {"max=x"}), "") << "a refused line creates nothing";
  // Every kind's keys are read against its range alike.
  EXPECT_NE(Set("game", {"4294967296"}, {}), "") << "key out of range";
  EXPECT_NE(Set("game", {}, {}), "") << "key missing";
  EXPECT_NE(Set("scoreboard", {"1"}, {}), "") << "the score board has no key";
  EXPECT_NE(Set("nokind", {"1"}, {}), "");
  EXPECT_FALSE(P().HasKind("nokind"));
  EXPECT_EQ(Show("game"), (Lines{"game 5 name=\"Five\" text=\"\" address=0.0.0.0 type=0 players=2 max=8"}));
  EXPECT_EQ(Show("netclient", {"9"}).front().rfind("error: ", 0), 0u);
}

TEST_F(NetSessionTest, LobbyTablesLiveInTheOnlineClientAndShowOnlyUsedRecords) {
  ASSERT_EQ(Set("player", {"199"}, {"id=ACE", "wins=3", "losses=1", "score=4000000000", "ranking=7", "class=2"}), "");
  ASSERT_EQ(Set("player", {"5"}, {"wins=9"}), "") << "a record whose first byte is 0 stays free";
  ASSERT_EQ(Set("session", {"0"}, {"name=Arena", "type=1", "map=\"arena.gnd\"", "address=192.168.0.7"}), "");
  ASSERT_EQ(Set("channel", {"3"}, {"name=\"a channel name too long\""}), "");
  EXPECT_EQ(netkorvo::PrintFields(Clt.PlayerInfo[199]), "id=\"ACE\" wins=3 losses=1 score=4000000000 ranking=7 class=2");
  EXPECT_EQ(Clt.PlayerInfo[5].wins, 9);
  EXPECT_EQ(netkorvo::PrintFields(Clt.SessionInfo[0]), "name=\"Arena\" type=1 map=\"arena.gnd\" address=192.168.0.7");
  EXPECT_EQ(Show("player", {"5"}), (Lines{"show: no player 5"}));
  EXPECT_EQ(Show("channel"), (Lines{"channel 3 name=\"a channel name too \""}));
  // What the module writes shows as it is, a name without NUL in its 20
  // bytes too (texts are escaped as in the call lines: one PrintText).
  std::strcpy(Clt.ChannelInfo[0].name, "Lobby");
  EXPECT_EQ(Show("channel", {"0"}), (Lines{"channel 0 name=\"Lobby\""}));
  std::memset(Clt.ChannelInfo[1].name, 'c', sizeof Clt.ChannelInfo[1].name);
  EXPECT_EQ(Show("channel", {"1"}), (Lines{"channel 1 name=\"" + std::string(20, 'c') + "\""}));
  ASSERT_EQ(Forget("player", {"5"}), "");
  EXPECT_EQ(Clt.PlayerInfo[5].wins, 0) << "forget clears the record";
  ASSERT_EQ(Forget("player"), "");
  EXPECT_EQ(Clt.PlayerInfo[199].score, 0u);
  EXPECT_TRUE(Show("player").empty());
}

// records.session writes and prints both records; here a value they refuse
// and the forget they have not.
TEST_F(NetSessionTest, ModuleRecordsRefuseBadValuesAndForget) {
  ASSERT_TRUE(GUI_InitClientInfo(4, 0));
  ASSERT_EQ(Set("clientinfo", {"4"}, {"ready=1"}), "");
  EXPECT_NE(Set("clientinfo", {"4"}, {"ready=256"}), "");
  EXPECT_EQ(GUI_GetClientInfo(4)->ready, 1);
  EXPECT_NE(Forget("clientinfo", {"4"}), "");
  GUI_InitClientInfo(4, 0);
}

TEST(NetSessionStart, BeginSessionRegistersOnceAndStartsFromTheStartState) {
  NET_bInitialized = 1;
  std::strcpy(Clt.LoginID, "ACE");
  netkorvo::BeginSession();
  netkorvo::BeginSession();
  const auto& providers = korvostate::Providers();
  EXPECT_EQ(std::count(providers.begin(), providers.end(), &netkorvo::SessionProvider()), 1);
  EXPECT_EQ(NET_bInitialized, 0);
  EXPECT_EQ(Clt.LoginID[0], 0);
  EXPECT_TRUE(korvostate::Recording());
  NET_Release();
  EXPECT_EQ(korvostate::TakeCalls(), (Lines{"NET_Release()"}));
  korvostate::SetRecording(false);
}

