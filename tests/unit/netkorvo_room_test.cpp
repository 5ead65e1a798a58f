// Tests of a room's slot rules (the server's player in slot 0, joins into open
// slots only, bots, open and closed slots, choices) and
// of the network stand-in's rule and class tables as the live exports give them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/netkorvo.h"
#include "netkorvo/net_backend.h"
#include "netkorvo/netkorvo.h"
#include "netkorvo/room.h"

using netkorvo::CRoom;
namespace wire = netkorvo::wire;

TEST(NetRoom, PlayersFillOpenSlotsInOrderUntilTheRoomIsFull) {
  CRoom room("HOST");
  EXPECT_TRUE(room.Slot(0).inUse);
  EXPECT_EQ(room.Slot(0).state, netkorvo::kSlotPlayer);
  EXPECT_EQ(room.Slot(0).name, "HOST");
  for (int i = 1; i < 8; ++i) EXPECT_EQ(room.Join("P" + std::to_string(i)), i);
  EXPECT_EQ(room.Players(), 8);
  EXPECT_EQ(room.Join("LATE"), -1);
  EXPECT_TRUE(room.Leave(4));
  EXPECT_FALSE(room.Slot(4).inUse);
  EXPECT_EQ(room.Slot(4).state, netkorvo::kSlotOpen);
  EXPECT_FALSE(room.Leave(4)) << "already open";
  EXPECT_FALSE(room.Leave(0)) << "the server's player does not leave its own room";
  EXPECT_EQ(room.Join("LATE"), 4);
  EXPECT_EQ(room.Join(std::string(100, 'X')), -1);
  EXPECT_TRUE(room.Leave(2));
  EXPECT_EQ(room.Join(std::string(100, 'X')), 2);
  EXPECT_EQ(room.Slot(2).name.size(), 31u) << "cut to SClientInfo's name";
}

TEST(NetRoom, BotsAndClosedSlotsFollowTheSlotStateButton) {
  CRoom room("HOST");
  EXPECT_TRUE(room.AddBot(3));
  EXPECT_TRUE(room.Slot(3).bot);
  EXPECT_EQ(room.Slot(3).state, netkorvo::kSlotBot);
  EXPECT_EQ(room.Slot(3).name, "BOT 3");
  EXPECT_FALSE(room.AddBot(3));
  EXPECT_FALSE(room.AddBot(0));
  EXPECT_FALSE(room.Leave(3)) << "a bot is removed, not left";
  EXPECT_TRUE(room.RemoveBot(3));
  EXPECT_TRUE(room.UpdateMenuState(3, 1));
  EXPECT_EQ(room.Slot(3).state, netkorvo::kSlotClosed);
  EXPECT_FALSE(room.AddBot(3)) << "closed";
  EXPECT_EQ(room.Join("A"), 1);
  EXPECT_EQ(room.Join("B"), 2);
  EXPECT_EQ(room.Join("C"), 4) << "the closed slot is skipped";
  EXPECT_FALSE(room.UpdateMenuState(1, 1)) << "a slot with a player stays";
  EXPECT_TRUE(room.UpdateMenuState(3, 0));
  EXPECT_EQ(room.Join("D"), 3);
}

// Whether the room may start (bots and the server's player need no ready) is
// NetLiveModuleTest.ARoomsMatchEndsBackInTheRoomWhichStartsAgain's.
TEST(NetRoom, ChangedChoicesAreTakenAndSlotRecordsCarryEveryField) {
  CRoom room("HOST");
  const wire::SChoice choice{.character = 9, .left = 1, .right = 2, .team = 3, .classIndex = 4, .ready = 1};
  const int a = room.Join("A");
  EXPECT_TRUE(room.SetChoice(a, choice));
  EXPECT_FALSE(room.SetChoice(a, choice)) << "unchanged";
  EXPECT_FALSE(room.SetChoice(a + 1, choice)) << "no player there";
  const wire::SSlotRecord record = room.Slot(a).Record(a);
  EXPECT_EQ(record.slot, a);
  EXPECT_EQ(netkorvo::SSlot::FromRecord(record), room.Slot(a));
}

class NetLiveTables : public ::testing::Test {
 protected:
  void SetUp() override { netkorvo::UseLiveBackend(netkorvo::SLiveOptions()); }
  void TearDown() override { netkorvo::SetBackend(nullptr); }
};

TEST_F(NetLiveTables, RulesAndClassesComeFromTheTables) {
  ASSERT_NE(NET_GetGameRuleInfo(0), nullptr);
  EXPECT_STREQ(NET_GetGameRuleInfo(0)->name, "DEATH MATCH");
  EXPECT_STREQ(NET_GetGameRuleInfo(8)->name, "KING OF ARENA");
  EXPECT_STREQ(NET_GetGameRuleInfo(9)->name, "");
  EXPECT_STREQ(NET_GetGameRuleInfo(-1)->name, "");
  EXPECT_STREQ(NET_GetClassName(0), "TRAINEE");
  EXPECT_STREQ(NET_GetClassName(10), "");
  EXPECT_EQ(Clt.CalculateGrade(3, 0), 9) << "the ten best ranked";
  EXPECT_EQ(Clt.CalculateGrade(500, 2500), 2);
  EXPECT_EQ(Clt.CalculateGrade(500, 999999), 8);
  EXPECT_EQ(CC_Manager::GetClientInfo(0), nullptr) << "no room";
  EXPECT_FALSE(CS_Manager::CanStart());
  EXPECT_EQ(Clt.SendConnect(0), 0) << "no online lobby behind the live backend";
}
