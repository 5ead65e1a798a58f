// Tests of the module's records of the multiplayer setup: client records and
// the local client index, team colours, the option table built from the
// host's option-part descriptors, the server record and whole-record copies.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "korvogui/korvogui.h"
#include "korvogui/room.h"
#include "host/netkorvo.h"
#include "netkorvo/netkorvo.h"
#include "refhost/option_parts.h"

namespace {

korvohost::SOptionPartRecord Part(const std::string& name, int id) {
  return {name, name + " 2", name + ".tga", name + " 4", id};
}

class RoomRecordsTest : public ::testing::Test {
 protected:
  void SetUp() override { GUI_Release(); }
  void TearDown() override {
    korvohost::SetOptionParts({});
    GUI_Release();
  }
};

}  // namespace

// A slot is reset from whatever it held (records.session reads fresh
// slots and those out of range); the local index stays as set.
TEST_F(RoomRecordsTest, InitClientInfoResetsOneSlot) {
  EXPECT_TRUE(GUI_SetLocalClientIndex(7));
  SGUI_ClientInfo* c = GUI_GetClientInfo(7);
  ASSERT_NE(c, nullptr);
  std::memset(static_cast<void*>(c), 0x5A, sizeof *c);
  GUI_GetClientInfo(0)->state = 4;
  EXPECT_TRUE(GUI_InitClientInfo(7, 2));
  EXPECT_EQ(netkorvo::PrintFields(*c), "state=2 name=\"\" character=-1 left=-1 right=-1 team=0 class=0 ready=0");
  EXPECT_FALSE(GUI_InitClientInfo(-1, 1));
  EXPECT_EQ(GUI_GetClientInfo(-1), nullptr);
  EXPECT_EQ(GUI_GetClientInfo(0)->state, 4);
  EXPECT_EQ(GUI_GetClientInfo(1) - GUI_GetClientInfo(0), 1) << "one table of eight records";
  EXPECT_EQ(GUI_GetLocalClientIndex(), 7);
}

// Beyond records.session: a null name, the eighth entry, ids below zero
// and far past the table, counts below the entries given or below zero.
TEST_F(RoomRecordsTest, TeamColoursCopyAtMostEightEntriesWithShortNames) {
  unsigned long colours[10] = {0xFFFF0000, 0xFF0000FF, 3, 4, 5, 6, 7, 8, 9, 10};
  std::string longName = "A TEAM NAME LONGER THAN FIFTEEN";
  char* names[10] = {const_cast<char*>("RED"), const_cast<char*>("BLUE"), nullptr, longName.data(),
                     const_cast<char*>("E"), const_cast<char*>("F"), const_cast<char*>("G"),
                     const_cast<char*>("H"), const_cast<char*>("I"), const_cast<char*>("J")};
  GUI_InitTeamColor(10, colours, names);
  EXPECT_EQ(GUI_GetNumTeamColor(), 8);
  EXPECT_STREQ(GUI_GetTeamColorNameByID(2), "");
  EXPECT_STREQ(GUI_GetTeamColorNameByID(3), "A TEAM NAME LON");
  EXPECT_EQ(GUI_GetTeamColorByID(7), 8ul);
  EXPECT_EQ(GUI_GetTeamColorByID(8), 0ul);
  EXPECT_STREQ(GUI_GetTeamColorNameByID(8), "");
  EXPECT_EQ(GUI_GetTeamColorByID(-1), 0ul);
  EXPECT_EQ(GUI_GetTeamColorByID(5000), 0xFFFFBD1Eul);

  GUI_InitTeamColor(2, colours, names);
  EXPECT_EQ(GUI_GetNumTeamColor(), 2);
  EXPECT_EQ(GUI_GetTeamColorByID(3), 0ul) << "entries past the count are not teams";
  GUI_InitTeamColor(-3, nullptr, nullptr);
  EXPECT_EQ(GUI_GetNumTeamColor(), 0);
}

TEST_F(RoomRecordsTest, OptionTableIsBuiltFromAtMost127HostDescriptors) {
  korvohost::SOptionPartRecord longPart = Part(std::string(60, 'x'), 12);
  korvohost::SetOptionParts({Part("MISSILE", 101), longPart, Part("SHIELD", 7)});
  GUI_InitOptionInfo();
  ASSERT_EQ(GUI_GetNumOptions(), 3);
  EXPECT_EQ(GUI_GetNumAvailableOptions(), 3);
  const SGUI_OptionInfo* second = GUI_GetAvailableOptionInfo(1);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->index, 1);
  EXPECT_EQ(std::string(second->name), std::string(49, 'x'));
  EXPECT_EQ(std::string(second->text2), std::string(49, 'x'));
  EXPECT_EQ(second->left, 12);
  EXPECT_EQ(GUI_GetOptionInfo(2)->right, 7);
  EXPECT_EQ(GUI_GetOptionInfo(-1), nullptr);

  // A rebuild clears what was there.
  korvohost::SetOptionParts({Part("LASER", 3)});
  GUI_InitOptionInfo();
  EXPECT_EQ(GUI_GetNumOptions(), 1);
  EXPECT_STREQ(GUI_GetOptionInfo(0)->name, "LASER");
  EXPECT_EQ(GUI_GetOptionInfo(1), nullptr);
  const SGUI_OptionInfo* stale = GUI_GetOptionInfo(0) + 1;
  EXPECT_EQ(stale->valid, 0);
  EXPECT_EQ(stale->name[0], 0);

  // At most 127 descriptors are taken.
  std::vector<korvohost::SOptionPartRecord> parts;
  for (int i = 0; i < 130; ++i) parts.push_back(Part("P" + std::to_string(i), i));
  korvohost::SetOptionParts(parts);
  GUI_InitOptionInfo();
  EXPECT_EQ(GUI_GetNumOptions(), 127);
  EXPECT_STREQ(GUI_GetOptionInfo(126)->name, "P126");
  EXPECT_EQ(GUI_GetOptionInfo(126)->index, 126);
  EXPECT_EQ(GUI_GetOptionInfo(127), nullptr);
}

// Assignments take the whole record, the unused tail too.
template <class T>
T ExpectWholeCopies(int fill) {
  T a;
  std::memset(static_cast<void*>(&a), fill, sizeof a);
  T b;
  b = a;
  EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << fill;
  return a;
}

TEST_F(RoomRecordsTest, RecordsCopyWhole) {
  EXPECT_EQ(GUI_GetServerInfo(), GUI_GetServerInfo()) << "one server record";
  ExpectWholeCopies<SGUI_ServerInfo>(0x3C);
  ExpectWholeCopies<SGUI_ClientInfo>(0x11);
  ExpectWholeCopies<SGUI_OptionInfo>(0x22);
  const CGameListItem item = ExpectWholeCopies<CGameListItem>(0x33);
  const CGameListItem copy(item);   // so does the game list item's copy
  EXPECT_EQ(std::memcmp(&item, &copy, sizeof item), 0);
  const CGameListItem fresh;   // zero-filled
  EXPECT_EQ(fresh.ServerID, 0u);
  EXPECT_EQ(fresh.Name[0], 0);
}
