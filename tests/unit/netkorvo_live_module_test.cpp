// Tests of the live backend's default room events through the module (the
// shipped UI script compiled): a join that finds no room and a room that its
// server ends are told in the module's message box; a joined room fills the
// module's records; a room's start plays the simulated match of the room, and
// after it the room takes bots and joins and starts again; a room created
// without a map plays the first map of its rule; a team room's slot buttons
// follow its slots and its chat reaches the room's chat box and the other
// side, and its end reaches them. The room's server runs in this process on
// 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "host/netkorvo.h"
#include "korvogui/korvogui.h"
#include "korvogui/room.h"
#include "netkorvo/net_backend.h"
#include "netkorvo/netkorvo.h"
#include "netkorvo/room_client.h"
#include "netkorvo/room_server.h"
#include "refhost/korvohost.h"
#include "refhost/korvohost_graphics.h"
#include "refhost/game_setup.h"
#include "refhost/sim_match.h"
#include "host/host_services.h"
#include "runtime/list.h"
#include "runtime/window.h"
#include "runtime/window_manager.h"
#include "tests/expected/expected_text.h"
#include "tests/unit/fresh_module.h"

namespace {

class NetLiveModuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    korvohost::Reset();
    korvohost::SetRenderMode(korvohost::RenderMode::RecordOnly);
    std::string error;
    ASSERT_TRUE(korvohost::Mount(KORVO_ASSET_ROOT, &error)) << error;
    RestartModule();
    ASSERT_TRUE(GUI_Compile()) << GUI_GetLastError();
    ASSERT_TRUE(GUI_NextDialog("MAINMENU")) << GUI_GetLastError();
  }
  void TearDown() override {
    NET_Release();
    netkorvo::SetBackend(nullptr);
    GUI_Release();
    korvohost::Reset();
  }

  static void UseLive(uint16_t roomPort, uint32_t timeoutMs = 300) {
    netkorvo::SLiveOptions options;
    options.roomPort = roomPort;
    options.timeoutMs = timeoutMs;
    netkorvo::UseLiveBackend(options);
  }

  // Services the network (and `also`) until `done` or 3 s pass.
  static bool Until(const std::function<bool()>& done, const std::function<void()>& also = {}) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < end) {
      if (also) also();
      netkorvo::ServiceLive();
      if (done()) return true;
    }
    return false;
  }

  // The rows of a list, each followed by `sep`.
  static std::string Rows(CGUI_Window* w, const char* sep = "") {
    auto* list = dynamic_cast<CGUI_List*>(w);
    std::string text, row;
    for (int i = 0; list && i < list->GetCount(); ++i)
      if (list->GetText(i, row)) text += row + sep;
    return text;
  }
  // The message box's text: the rows of its message list.
  static std::string BoxText() {
    CGUI_Window* box = FindOpenDialog("MBOX_OK");
    std::string text;
    for (CGUI_Window* child : box ? box->Children() : std::vector<CGUI_Window*>()) text += Rows(child);
    return text;
  }
};

}  // namespace

TEST_F(NetLiveModuleTest, AJoinWithoutARoomIsToldInTheMessageBox) {
  // A port where no room listens: the server of this test opens and closes it.
  uint16_t port;
  {
    netkorvo::CRoomServer probe;
    std::string error;
    ASSERT_TRUE(probe.Open(netkorvo::CRoomServer::SConfig(), &error)) << error;
    port = probe.Port();
  }
  UseLive(port);
  NET_Init(0, "127.0.0.1", 1, 0);
  ASSERT_TRUE(Until([] { return GUI_IsDialogCreated("MBOX_OK"); }));
  EXPECT_NE(BoxText().find("NO ROOM ANSWERS AT 127.0.0.1"), std::string::npos) << BoxText();
  EXPECT_EQ(CC_Manager::GetClientInfo(0), nullptr);
}

TEST_F(NetLiveModuleTest, AJoinedRoomFillsTheRecordsAndItsEndIsTold) {
  netkorvo::CRoomServer server;
  netkorvo::CRoomServer::SConfig config;
  config.hostName = "HOST";
  config.timeoutMs = 300;
  config.settings.room = "HOST's ARENA";
  config.settings.map = "canyon.gnd-DE-TE";   // a shipped map: the room finds it
  config.settings.type = 4;
  config.settings.frag = 25;
  std::string error;
  ASSERT_TRUE(server.Open(config, &error)) << error;
  // The server's Close below blocks this thread, the client's too, for up to
  // its wait; the client must not time out meanwhile and take the closing for
  // a lost connection.
  UseLive(server.Port(), 3000);
  NET_profile.WritePrevLoginID("ACE");
  NET_Init(0, "127.0.0.1", 1, 0);
  ASSERT_TRUE(Until([] { return my_client == 1 && CC_Manager::GetClientInfo(0) != nullptr; },
                    [&] { server.Service(); }));
  std::string records = "server " + netkorvo::PrintFields(*GUI_GetServerInfo()) + "\nlocal client " +
                        std::to_string(GUI_GetLocalClientIndex()) + ", frag limit " +
                        std::to_string(CC_Manager::FragLimit) + ", the server's slot 1 " +
                        server.Room().Slot(1).name + "\n";
  for (int i = 0; i < 2; ++i)
    records += "client " + std::to_string(i) + " " + netkorvo::PrintFields(*GUI_GetClientInfo(i)) +
               ", library name " + CC_Manager::GetClientInfo(i)->name + "\n";
  EXPECT_MATCHES_EXPECTED("unit/expected/net_live_joined_room.expected", records);
  EXPECT_FALSE(GUI_IsDialogCreated("MBOX_OK"));

  server.Close("THE SERVER LEFT THE ROOM");
  ASSERT_TRUE(Until([] { return GUI_IsDialogCreated("MBOX_OK"); }));
  EXPECT_NE(BoxText().find("THE SERVER LEFT THE ROOM"), std::string::npos) << BoxText();
  EXPECT_EQ(CC_Manager::GetClientInfo(0), nullptr) << "the room is gone";
  EXPECT_EQ(NET_bInitialized, 0);
}

TEST_F(NetLiveModuleTest, ARoomWithoutASecondPlayerSaysWhyItHasNoMatch) {
  std::vector<std::string> errors;
  ASSERT_TRUE(korvohost::LoadGameDataIntoGame(&errors));
  UseLive(0);
  std::strcpy(GUI_GetServerInfo()->map, "canyon.gnd-DE-TE");
  GUI_GetServerInfo()->frag = 3;
  NET_Init(1, nullptr, 1, 0);
  ASSERT_TRUE(Until([] { return GUI_IsDialogCreated("ROOMMENU"); }));
  ASSERT_TRUE(CS_Manager::CanStart()) << "a room alone may start";
  CS_Manager::Write_Start();
  ASSERT_TRUE(Until([] { return GUI_IsDialogCreated("MBOX_OK"); }));
  EXPECT_NE(BoxText().find("SECOND PLAYER"), std::string::npos) << BoxText();
  EXPECT_EQ(korvohost::SimMatchStatus().phase, korvohost::EMatchPhase::kNone);
  EXPECT_TRUE(CS_Manager::CanStart()) << "the room is not left started";
  EXPECT_EQ(NET_bInitialized, 0) << "no match runs";
}

TEST_F(NetLiveModuleTest, ARoomCreatedWithoutAMapPlaysTheFirstMapOfItsRule) {
  UseLive(0);
  // Maps of this root in the host's (byte) order before the shipped ones:
  // the first one that suits the rule wins.
  korvohost::OverlayFile("data/map/0a.gnd-TE", "x");
  korvohost::OverlayFile("data/map/0b.gnd-DE-TE", "x");
  korvohost::OverlayFile("data/map/0c.gnd", "x");
  struct SCase {
    const char* map;   // the server record's map before the room opens
    int type;
    const char* plays;
  } cases[] = {
      {"", 0, "0b.gnd-DE-TE"},              // no map chosen
      {"", 1, "0a.gnd-TE"},
      {"", 2, "0c.gnd"},                    // the first that suits every rule
      {"0a.gnd-TE", 0, "0b.gnd-DE-TE"},     // a map of another rule
      {"0c.gnd", 1, "0c.gnd"},              // a chosen map that suits stays
  };
  for (const SCase& c : cases) {
    std::strcpy(GUI_GetServerInfo()->map, c.map);
    GUI_GetServerInfo()->type = c.type;
    NET_Init(1, nullptr, 1, 0);
    EXPECT_STREQ(GUI_GetServerInfo()->map, c.plays) << c.map << " " << c.type;
    ASSERT_TRUE(Until([] { return GUI_IsDialogCreated("ROOMMENU"); }));
    EXPECT_FALSE(GUI_IsDialogCreated("MBOX_OK")) << "the room finds its map";
    NET_Release();
    GUI_NextDialog("MAINMENU");
  }
}

// A room's start plays the room's match (its players, rule and limits); its
// end goes back to the room, which then takes bots and joins and starts again.
TEST_F(NetLiveModuleTest, ARoomsMatchEndsBackInTheRoomWhichStartsAgain) {
  std::vector<std::string> errors;
  ASSERT_TRUE(korvohost::LoadGameDataIntoGame(&errors));
  UseLive(0, 3000);
  NET_profile.WritePrevLoginID("ACE");
  SGUI_ServerInfo& info = *GUI_GetServerInfo();
  std::strcpy(info.room, "ACE's ARENA");
  std::strcpy(info.map, "canyon.gnd-DE-TE");
  info.type = 0;
  info.frag = 3;
  info.time = 0;
  NET_Init(1, nullptr, 1, 0);
  ASSERT_TRUE(Until([] { return GUI_IsDialogCreated("ROOMMENU"); }));
  EXPECT_EQ(bServerSystem, 1) << "this side hosts";
  Server_AddBot(1);
  std::string rounds;
  for (int round = 1; round <= 2; ++round) {
    ASSERT_TRUE(CS_Manager::CanStart()) << "round " << round;
    CS_Manager::Write_Start();
    ASSERT_TRUE(Until([] { return korvohost::SimMatchStatus().phase != korvohost::EMatchPhase::kNone; }))
        << "round " << round;
    const korvohost::SSimMatchStatus status = korvohost::SimMatchStatus();
    rounds += "round " + std::to_string(round) + ":";
    for (const korvohost::SSimMatchPlayer& p : status.players) rounds += " " + p.name + (p.bot ? " (bot)" : "");
    rounds += ", slot 1 " + std::string(GUI_GetClientInfo(1)->name) + ", rule " + std::to_string(status.rule) +
              ", frags " + std::to_string(status.fragLimit) + ", minutes " + std::to_string(status.timeLimitMin) +
              "\n  " + netkorvo::PrintFields(*GUI_GetServerInfo()) + "\n  box " +
              (GUI_IsDialogCreated("MBOX_OK") ? "open" : "none") + ", can start " +
              std::to_string(CS_Manager::CanStart()) + "\n";
    korvohost::EndSimMatch();
    netkorvo::ServiceSimMatch();   // the room is back, with this side its host
    rounds += "  after: initialized " + std::to_string(NET_bInitialized) + ", my client " +
              std::to_string(my_client) + ", slot 0 " + (CC_Manager::GetClientInfo(0) ? "in use" : "free") + "\n";
    if (round == 2) break;

    // A bot and a joining player are taken again; the player must be ready.
    Server_AddBot(2);
    ASSERT_TRUE(Until([] { return GUI_GetClientInfo(2)->state == 1; }));
    netkorvo::CRoomClient joiner;
    std::string error;
    ASSERT_TRUE(joiner.Connect("127.0.0.1", netkorvo::LiveRoomPort(), "ZED", 3000, &error)) << error;
    ASSERT_TRUE(Until([&] { return joiner.Joined(); }, [&] { joiner.Service(); }));
    EXPECT_EQ(joiner.MySlot(), 3);
    EXPECT_FALSE(CS_Manager::CanStart()) << "the player is not ready";
    netkorvo::wire::SChoice ready;
    ready.ready = 1;
    joiner.SendChoice(ready);
    ASSERT_TRUE(Until([] { return CS_Manager::CanStart(); }, [&] { joiner.Service(); }));
    joiner.Leave();
    ASSERT_TRUE(Until([] { return CC_Manager::GetClientInfo(3) == nullptr; }));
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/net_live_room_rounds.expected", rounds);
  NET_Release();
  EXPECT_EQ(NET_bInitialized, 0);
  EXPECT_EQ(bServerSystem, 0);
}

// A team room run by this side: the slot buttons follow the slots as they
// fill and empty (the team button of a slot in use shown, usable where this
// side makes the choices; the class icon of a connected player shown), and
// chat lines of both sides reach the room's chat box and the other side.
TEST_F(NetLiveModuleTest, ATeamRoomsSlotButtonsFollowItsSlotsAndItsChatReachesEverybody) {
  UseLive(0, 3000);
  NET_profile.WritePrevLoginID("ACE");
  SGUI_ServerInfo& info = *GUI_GetServerInfo();
  std::strcpy(info.room, "ACE's ARENA");
  std::strcpy(info.map, "canyon-DE-TE.gnd");
  info.type = 1;   // team death match
  NET_Init(1, nullptr, 1, 0);
  ASSERT_TRUE(Until([] { return GUI_IsDialogCreated("ROOMMENU"); }));
  CGUI_Window* room = FindOpenDialog("ROOMMENU");
  ASSERT_NE(room, nullptr);
  const auto shown = [&](const char* id) {
    CGUI_Window* w = room->FindChild(id);
    return !w ? std::string("missing") : std::string(w->IsHidden() ? "hidden" : "shown") +
                                              (w->IsHitTest() ? " usable" : "");
  };
  // The buttons of slots 0, 1 and 3: LIST(n+1)1 its state, LIST(n+1)2 its
  // team, ROOMCLASSICONS0(n+1) its class.
  std::string buttons;
  const auto print = [&](const char* step) {
    buttons += step;
    for (const char* id : {"IDC_BUTTON_LIST12", "IDC_BUTTON_ROOMCLASSICONS01", "IDC_BUTTON_LIST21",
                           "IDC_BUTTON_LIST22", "IDC_BUTTON_ROOMCLASSICONS02", "IDC_BUTTON_LIST41",
                           "IDC_BUTTON_LIST42"})
      buttons += std::string("\n  ") + (id + 11) + " " + shown(id);
    buttons += "\n";
  };
  ASSERT_TRUE(Until([&] { return shown("IDC_BUTTON_LIST12") == "shown usable"; })) << shown("IDC_BUTTON_LIST12");
  print("alone");

  netkorvo::CRoomClient bob;
  std::string error;
  ASSERT_TRUE(bob.Connect("127.0.0.1", netkorvo::LiveRoomPort(), "BOB", 3000, &error)) << error;
  ASSERT_TRUE(Until([&] { return bob.Joined() && shown("IDC_BUTTON_LIST22") == "shown"; }, [&] { bob.Service(); }))
      << shown("IDC_BUTTON_LIST22");
  print("BOB joined");
  Server_AddBot(3);
  ASSERT_TRUE(Until([&] { return shown("IDC_BUTTON_LIST42") == "shown usable"; })) << "this side picks the bot's team";
  print("a bot in slot 3");

  // BOB picks BLUE; his chat line comes back to him and into the room's box.
  netkorvo::wire::SChoice blue;
  blue.team = 1;
  bob.SendChoice(blue);
  ASSERT_TRUE(Until([] { return GUI_GetClientInfo(1)->team == 1; }, [&] { bob.Service(); }));
  const auto rows = [&] { return Rows(room->FindChild("IDC_LIST_ROOMCHATBOX"), "|"); };
  std::vector<netkorvo::wire::SChatLine> heard;
  const auto listen = [&] {
    bob.Service();
    for (const auto& e : bob.TakeEvents())
      if (e.kind == netkorvo::CRoomClient::EEvent::kChat) heard.push_back(std::get<netkorvo::wire::SChatLine>(e.message));
  };
  bob.Say("HELLO FROM BOB");
  ASSERT_TRUE(Until([&] { return rows().find("HELLO FROM BOB") != std::string::npos && heard.size() == 1; }, listen))
      << rows();
  EXPECT_EQ(heard[0].name, "BOB");
  EXPECT_EQ(heard[0].slot, 1);
  EXPECT_EQ(heard[0].colour, GUI_GetTeamColorByID(1)) << "BOB's team colour";
  Client_RequestTextMsg("HI FROM ACE");
  ASSERT_TRUE(Until([&] { return heard.size() == 2; }, listen));
  EXPECT_EQ(heard[1].text, "HI FROM ACE");
  EXPECT_EQ(heard[1].colour, GUI_GetTeamColorByID(0));
  EXPECT_NE(rows().find("HI FROM ACE"), std::string::npos) << rows();

  bob.Leave();
  ASSERT_TRUE(Until([&] { return shown("IDC_BUTTON_LIST22") == "hidden"; })) << shown("IDC_BUTTON_LIST22");
  print("BOB left");
  EXPECT_MATCHES_EXPECTED("unit/expected/net_live_team_room_buttons.expected", buttons);

  // This side leaving ends the room for whoever is in it, with the reason.
  netkorvo::CRoomClient zed;
  ASSERT_TRUE(zed.Connect("127.0.0.1", netkorvo::LiveRoomPort(), "ZED", 3000, &error)) << error;
  ASSERT_TRUE(Until([&] { return zed.Joined(); }, [&] { zed.Service(); }));
  NET_Release();
  std::string why;
  const auto ended = [&] {
    for (const auto& e : zed.TakeEvents())
      if (e.kind == netkorvo::CRoomClient::EEvent::kEnded) why = e.text;
    return !why.empty();
  };
  EXPECT_TRUE(Until(ended, [&] { zed.Service(); }));
  EXPECT_EQ(why, "THE SERVER LEFT THE ROOM");
}
