// Tests of the network stand-in's recording mode: the recorded call lines with
// their argument and result forms, the scripted results of requests, the game
// list handed to NET_UpdateGLManager's callback, and the reads that answer
// from the scripted records (client slots, score board, rules, stored id).
#include <cstring>
#include <string>
#include <vector>

#include "host/netkorvo.h"
#include "tests/expected/expected_text.h"
#include "tests/unit/netkorvo_support.h"

using Lines = std::vector<std::string>;

namespace {

std::vector<CGameListItem> g_delivered;
void Collect(CGameListItem* item) { g_delivered.push_back(*item); }

// A delivered game: "ID NAME|TEXT|ADDRESS|type T|PLAYERS/MAX" (the header's
// static_asserts hold the offsets the module reads them at).
std::string ItemText(const CGameListItem& g) {
  const uint8_t* a = g.Address;
  return std::to_string(g.ServerID) + " " + g.Name + "|" + g.Text + "|" + std::to_string(a[0]) + "." +
         std::to_string(a[1]) + "." + std::to_string(a[2]) + "." + std::to_string(a[3]) + "|type " +
         std::to_string(g.Type) + "|" + std::to_string(g.Players) + "/" + std::to_string(g.MaxPlayers);
}

}  // namespace

// Every request's line and its default or scripted result are printed by the
// session walks (session_lobby, session_lobby_accounts, session_mp_select,
// session_mp_create_game, session_mp_room, session_play_chat); here the forms
// they do not print: escaped and null texts, a negative scripted result.
TEST_F(NetSessionTest, CallsAreRecordedWithTheirArgumentsAndScriptedResults) {
  EXPECT_EQ(SetScalar("KORVO_CLT::SendChatMsg", "-3"), "");
  EXPECT_EQ(Clt.SendChatMsg("a \"b\"\n"), -3);
  EXPECT_EQ(Calls(), Lines{"KORVO_CLT::SendChatMsg(\"a \\x22b\\x22\\x0A\") -> -3"});
  EXPECT_EQ(Clt.SendChgChannel(nullptr), 1);
  EXPECT_EQ(Calls(), Lines{"KORVO_CLT::SendChgChannel(null) -> 1"});
}

// The screens of the room and the match read rules, classes, loaders and
// grades in their session walks; here the answers without records, a rule's
// stable record, the profile's writer of the stored id, and the game list
// update, which is delivered, not recorded.
TEST_F(NetSessionTest, ReadsAreNotRecordedAndNothingIsRecordedOutsideSessions) {
  EXPECT_EQ(Clt.CalculateGrade(3, 100), 0);
  EXPECT_EQ(CC_Manager::GetClientInfo(0), nullptr);
  EXPECT_STREQ(NET_GetGameRuleInfo(1)->name, "");
  EXPECT_STREQ(NET_GetClassName(1), "");
  EXPECT_EQ(NET_GetTotalNumLoaders(), 1);
  EXPECT_EQ(NET_GetNumLoaders(), 1);
  EXPECT_FALSE(NET_GR_client::IsTeamGame());
  NET_UpdateGLManager(&Collect);
  const char* value = nullptr;
  EXPECT_FALSE(NET_var.GetValue("kn_prev_login_id", &value));
  ASSERT_EQ(Set("gamerule", {"1"}, {"name=\"TEAM DEATH MATCH\""}), "");
  SGameRuleInfo* rule = NET_GetGameRuleInfo(1);
  EXPECT_STREQ(rule->name, "TEAM DEATH MATCH");
  EXPECT_EQ(NET_GetGameRuleInfo(1), rule) << "one stable record per rule";
  EXPECT_TRUE(Calls().empty());

  NET_profile.WritePrevLoginID("ACE");
  ASSERT_TRUE(NET_var.GetValue("kn_prev_login_id", &value));
  EXPECT_STREQ(value, "ACE");
  EXPECT_FALSE(NET_var.GetValue("other_key", &value));
  EXPECT_FALSE(NET_var.GetValue(nullptr, &value));

  korvostate::SetRecording(false);
  NET_Release();
  Clt.SendLogOut();
  korvostate::SetRecording(true);
  EXPECT_TRUE(Calls().empty());
}

// session_mp_select lists the games and restarts the list with its refresh;
// here every field of the record, cut texts, the default size and a game
// added after the first delivery.
TEST_F(NetSessionTest, GameListDeliversEachGameOnceInDefinitionOrder) {
  g_delivered.clear();
  ASSERT_EQ(Set("game", {"9"}, {"name=\"Nine's ARENA\"", "text=TDM", "address=10.0.0.5", "type=2",
                                 "players=3", "max=6"}), "");
  ASSERT_EQ(Set("game", {"4"}, {"name=\"a name far longer than the room of twenty-five\"",
                                 "text=\"second text too long\""}), "");
  NET_InitGLManager();
  NET_UpdateGLManager(&Collect);
  ASSERT_EQ(g_delivered.size(), 2u);
  EXPECT_EQ(ItemText(g_delivered[0]), "9 Nine's ARENA|TDM|10.0.0.5|type 2|3/6");
  EXPECT_EQ(ItemText(g_delivered[1]), "4 a name far longer than t|second text too |0.0.0.0|type 0|0/8");

  NET_UpdateGLManager(&Collect);
  EXPECT_EQ(g_delivered.size(), 2u) << "delivered games are not delivered again";
  ASSERT_EQ(Set("game", {"1"}, {"name=late"}), "");
  NET_UpdateGLManager(&Collect);
  ASSERT_EQ(g_delivered.size(), 3u);
  EXPECT_STREQ(g_delivered[2].Name, "late");

  NET_UpdateGLManager(nullptr);
}

// A score board row's fields in order: name key mark highlight team class
// left right, then "frag=" and "slot=" texts where present.
static std::string RowText(const SScoreRow& r) {
  std::string text = std::string(r.name) + " " + std::to_string(r.key) + " " + r.mark + " " +
                     std::to_string(r.highlight);
  for (int32_t v : {r.team, r.classIndex, r.leftOption, r.rightOption}) text += " " + std::to_string(v);
  if (r.hasFrag) text += std::string(" frag=") + r.frag;
  if (r.hasSlot) text += std::string(" slot=") + r.slot;
  return text;
}

// The match's clients answer from netclient records, the score board and the
// ranks from the scripted header and rows (the first row with a key gives its
// rank); absent rows are zero-filled.
TEST_F(NetSessionTest, ClientSlotsAndTheScoreBoardAnswerFromTheirRecords) {
  ASSERT_EQ(Set("netclient", {"2"}, {"name=ACE", "team=1", "frags=12", "character=0x83", "winner=true"}), "");
  ASSERT_EQ(Set("scoreboard", {}, {"rows=3", "fragtitle=FRAG"}), "");
  ASSERT_EQ(Set("scorerow", {"1"}, {"name=ACE", "key=7", "rank=1", "mark=mark1.tga", "highlight=1",
                                    "team=1", "class=2", "left=3", "right=0", "frag=\"12\"", "slot=\"1P\""}), "");
  ASSERT_EQ(Set("scorerow", {"3"}, {"name=BOB", "key=9", "rank=2"}), "");
  ASSERT_EQ(Set("scorerow", {"2"}, {"key=7", "rank=5"}), "");
  std::string text;
  for (int slot : {-1, 0, 2, 8}) {
    text += "client " + std::to_string(slot) + (NET_GR_client::IsWinner(slot) ? " winner: " : ": ");
    if (const SClientInfo* c = CC_Manager::GetClientInfo(slot))
      text += "in use " + std::to_string(c->inUse) + " " + c->name + " team " + std::to_string(c->team) +
              " frags " + std::to_string(c->frags) + " character " + std::to_string(c->character) + "\n";
    else
      text += "none\n";
  }
  SScoreBoard board;
  std::memset(&board, 0xAB, sizeof board);
  NET_GR_client::FillScoreBoard(&board);
  text += "board: rows " + std::to_string(board.rowCount) + " frag title " + std::to_string(board.hasFragTitle) +
          " \"" + board.fragTitle + "\" slot title " + std::to_string(board.hasSlotTitle) + " \"" +
          board.slotTitle + "\"\n";
  for (int row = 0; row < 4; ++row) text += "row " + std::to_string(row) + ": " + RowText(board.rows[row]) + "\n";
  for (int key : {7, 9, 8})
    text += "rank of key " + std::to_string(key) + ": " + std::to_string(NET_GR_client::GetRankNumber(key)) + "\n";
  EXPECT_MATCHES_EXPECTED("unit/expected/net_session_score_board.expected", text);
  ASSERT_EQ(Forget("netclient", {"2"}), "");
  EXPECT_EQ(CC_Manager::GetClientInfo(2), nullptr);
  NET_GR_client::FillScoreBoard(nullptr);
}
