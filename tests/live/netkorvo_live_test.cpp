// netkorvo_live_test: the network stand-in's live backend between processes on
// 127.0.0.1, one room's scene. This process runs the room's server through
// the library's exports; it starts a copy of itself as a player (`--player`),
// which finds the room in the local game list, joins with its choices (a
// character, team 1, ready), plays the match it is started into, says "GG" in
// it and prints what it sees: both see each other's names, characters and
// teams, the match starts and ends alike on both with chat crossing in team
// colours, and the server leaving ends the room. The room's rules and limits
// are checked in-process (NetLiveModuleTest, NetRoom, RoomProbe). Every wait
// is bounded in time; what is checked is printed line by line.
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/netkorvo.h"
#include "korvogui/room.h"
#include "netkorvo/match_backend.h"
#include "netkorvo/netkorvo.h"
#include "refhost/game_setup.h"
#include "refhost/korvohost.h"
#include "refhost/sim_match.h"
#include "tests/live/player_processes.h"

namespace {

constexpr uint32_t kTimeoutMs = 1000;   // a silent peer's timeout in this test
constexpr int kChildLifeMs = 90000;     // a player never outlives this

// ---- The room's match in either process ---------------------------------------------------------
// The host clock runs kClockSpeed times as fast as the wall clock, so that a
// match ends within seconds.
constexpr double kClockSpeed = 8;
const Clock::time_point g_born = Clock::now();
int g_fragEvents = 0;

void TeamColours() {
  unsigned long colours[] = {0xFFE63C32, 0xFF3C6EF0, 0xFFAA50DC, 0xFF46C85A};
  char* names[] = {const_cast<char*>("RED"), const_cast<char*>("BLUE"), const_cast<char*>("PURPLE"),
                   const_cast<char*>("GREEN")};
  GUI_InitTeamColor(4, colours, names);
}

bool LoadGame() {
  std::string error;
  std::vector<std::string> errors;
  return korvohost::Mount(KORVO_ASSET_ROOT, &error) && korvohost::LoadGameDataIntoGame(&errors);
}

// One frame: the clock (always, so that a match starts at the time it is
// started), the match's library side, the events counted.
void MatchFrame() {
  korvohost::SetTick(uint32_t(MsSince(g_born) * kClockSpeed));
  if (korvohost::SimMatchStatus().phase == korvohost::EMatchPhase::kNone) return;
  netkorvo::ServiceSimMatch();
  for (const korvohost::SSimMatchEvent& e : korvohost::TakeSimMatchEvents())
    g_fragEvents += e.kind == korvohost::SSimMatchEvent::EKind::kFrag;
}

// The end of the match as this side shows it: "over END SECONDS winners=..
// table=NAME FRAGS/DEATHS,.. frag-events=N", or "" while it runs.
std::string MatchResult() {
  const korvohost::SSimMatchStatus status = korvohost::SimMatchStatus();
  if (status.phase != korvohost::EMatchPhase::kOver) return "";
  std::string line = std::string("over ") + (status.end == korvohost::EMatchEnd::kTime ? "time " : "frags ") +
                     std::to_string(status.elapsedMs / 1000) + " winners=";
  for (int i = 0; i < 8; ++i)
    if (const SClientInfo* c = CC_Manager::GetClientInfo(i); c && NET_GR_client::IsWinner(i))
      line += std::string(c->name) + ";";
  SScoreBoard board;
  NET_GR_client::FillScoreBoard(&board);
  line += " table=";
  for (int i = 0; i < board.rowCount; ++i)
    line += std::string(board.rows[i].name) + " " + board.rows[i].frag + "/" + board.rows[i].slot + " rank " +
            std::to_string(NET_GR_client::GetRankNumber(board.rows[i].key)) + ",";
  return line + " frag-events=" + std::to_string(g_fragEvents);
}

// The room as this side's records hold it: "room SLOT:NAME,CHARACTER,TEAM"
// from the library's client records, then "/NAME,CHARACTER,TEAM,STATE" from
// the module's, for every slot in use.
std::string RoomLine() {
  std::string line = "room";
  for (int i = 0; i < 8; ++i)
    if (const SClientInfo* c = CC_Manager::GetClientInfo(i)) {
      const SGUI_ClientInfo& g = *GUI_GetClientInfo(i);
      line += " " + std::to_string(i) + ":" + c->name + "," + std::to_string(c->character) + "," +
              std::to_string(c->team) + "/" + g.name + "," + std::to_string(g.character) + "," +
              std::to_string(g.team) + "," + std::to_string(g.state);
    }
  return line;
}

// ---- Room events recorded -------------------------------------------------------------------

struct SRecordedEvents : netkorvo::CRoomEvents {
  bool opened = false, started = false;
  std::string closed;
  bool closedInRoom = false;
  void RoomOpened() override { opened = true; }
  void RoomClosed(const char* why, bool inRoom) override {
    closed = why;
    closedInRoom = inRoom;
  }
  void MatchStarted() override { started = true; }
  void ScreenMessage(const char*, unsigned long) override {}
  void ChatMessage(unsigned long argb, const char* name, const char* text) override {
    char line[300];
    std::snprintf(line, sizeof line, "chat %08lX %s: %s", argb, name, text);
    chat.push_back(line);
  }
  std::vector<std::string> chat;   // "chat ARGB NAME: TEXT"
};

netkorvo::SLiveOptions Options(uint16_t discoveryPort, SRecordedEvents* events) {
  netkorvo::SLiveOptions o;
  o.announceAddress = "127.0.0.1";
  o.lan = false;
  o.roomPort = 0;
  o.discoveryPort = discoveryPort;
  o.timeoutMs = kTimeoutMs;
  o.queryIntervalMs = 200;
  o.events = events;
  return o;
}

// ---- The player process -------------------------------------------------------------------------

CGameListItem g_found;
bool g_foundAny = false;
void OnGame(CGameListItem* item) {
  if (g_foundAny) return;
  g_found = *item;
  g_foundAny = true;
}

// argv: --player DISCOVERY_PORT NAME CHARACTER
int RunPlayer(char** argv) {
  const uint16_t discoveryPort = uint16_t(std::atoi(argv[0]));
  const std::string name = argv[1];
  const int character = std::atoi(argv[2]);
  SRecordedEvents events;
  netkorvo::UseLiveBackend(Options(discoveryPort, &events));
  NET_profile.WritePrevLoginID(name.c_str());
  const auto born = Clock::now();
  const bool gameLoaded = LoadGame();
  TeamColours();

  NET_InitGLManager();
  const auto start = Clock::now();
  while (!g_foundAny && MsSince(start) < 2000) {
    NET_UpdateGLManager(&OnGame);
    usleep(1000);
  }
  if (!g_foundAny) return Say("notfound"), 1;
  char line[300];
  std::snprintf(line, sizeof line, "found %.1f %s|%s|%d/%d|%s|%d.%d.%d.%d", MsSince(start), g_found.Name,
                g_found.Text, g_found.Players, g_found.MaxPlayers, NET_GetGameRuleInfo(g_found.Type)->name,
                g_found.Address[0], g_found.Address[1], g_found.Address[2], g_found.Address[3]);
  Say(line);
  NET_ServerID = int(g_found.ServerID);
  NET_Init(0, "127.0.0.1", 1, 0);
  NET_ReleaseGLManager();
  bool announcedJoin = false, saidGG = false;
  std::string shownRoom, result;
  size_t chatShown = 0;
  pollfd in = {0, POLLIN, 0};
  // Any line on the standard input, or its end, ends the player.
  while (MsSince(born) < kChildLifeMs && poll(&in, 1, 1) == 0) {
    netkorvo::ServiceLive();
    MatchFrame();
    for (; chatShown < events.chat.size(); ++chatShown) Say(events.chat[chatShown]);
    if (!events.closed.empty()) {
      Say(std::string(events.closedInRoom ? "closed " : "refused ") + events.closed);
      events.closed.clear();
    }
    if (events.started) {
      Say("started");
      events.started = false;
      std::string error;
      if (gameLoaded && !netkorvo::StartRoomMatch(false, &error)) Say("no match: " + error);
    }
    if (!saidGG && korvohost::SimMatchStatus().phase == korvohost::EMatchPhase::kRunning) {
      Client_RequestTextMsg("GG");
      saidGG = true;
    }
    if (result.empty() && !(result = MatchResult()).empty()) Say(result);
    if (events.opened && !announcedJoin) {
      announcedJoin = true;
      Say("joined " + std::to_string(my_client));
      SGUI_ClientInfo& me = *GUI_GetClientInfo(my_client);
      me.character = character;
      me.team = 1;
      me.ready = 1;
    }
    if (announcedJoin && korvohost::SimMatchStatus().phase == korvohost::EMatchPhase::kNone &&
        RoomLine() != shownRoom)
      Say(shownRoom = RoomLine());
  }
  NET_Release();
  return 0;
}

// ---- The server process: players and checks ---------------------------------------------------------

uint16_t g_discoveryPort = 0;

// Serves the room until `done` holds or `ms` pass; true when it held.
template <class Done>
bool ServeUntil(Done done, double ms) {
  const auto start = Clock::now();
  while (MsSince(start) < ms) {
    netkorvo::ServiceLive();
    MatchFrame();
    ReadPlayer();
    if (done()) return true;
    usleep(200);
  }
  return false;
}

// Waits for a line of the player that is exactly `text`.
bool WaitExact(const std::string& text, double ms) {
  return ServeUntil(
      [&] { return std::find(g_playerLines.begin(), g_playerLines.end(), text) != g_playerLines.end(); }, ms);
}

// The first line of the player beginning with `prefix`, waiting for it.
std::string WaitLine(const std::string& prefix, double ms) {
  std::string found;
  ServeUntil(
      [&] {
        for (const std::string& line : g_playerLines)
          if (line.compare(0, prefix.size(), prefix) == 0) return found = line, true;
        return false;
      },
      ms);
  return found;
}

void OpenRoom(SRecordedEvents& events, const char* room) {
  SGUI_ServerInfo& info = *GUI_GetServerInfo();
  std::snprintf(info.room, sizeof info.room, "%s", room);
  std::snprintf(info.map, sizeof info.map, "canyon.gnd-DE-TE");   // a shipped map of the rule
  info.type = 1;
  for (int i = 0; i < 8; ++i) GUI_InitClientInfo(i, 0);
  GUI_GetClientInfo(0)->character = 3;
  events = SRecordedEvents();
  NET_Init(1, nullptr, 1, 1);
  Check(ServeUntil([&] { return events.opened; }, 1000) && netkorvo::LiveRoomPort() != 0,
        std::string("the room opens: ") + room);
}

// ---- Scenes -------------------------------------------------------------------------------------------

// Found, joined, both sides' choices seen, the match played alike on both
// with chat during it, and the room's end when its server leaves.
void Room(SRecordedEvents& events) {
  OpenRoom(events, "HOST's ARENA");
  GUI_GetServerInfo()->frag = 6;
  GUI_GetServerInfo()->time = 0;
  StartPlayer({std::to_string(g_discoveryPort), "ACE", "5"});
  const std::string found = WaitLine("found ", 2500);
  Check(found.find("HOST's ARENA|canyon|1/8|TEAM DEATH MATCH|127.0.0.1") != std::string::npos,
        "the game list shows the room within 2 s: " + found);
  Check(WaitLine("joined ", 3000) == "joined 1", "the player joins slot 1");
  // Names and characters go both ways with the join, teams with choices.
  const bool serverSees =
      ServeUntil([] { return RoomLine() == "room 0:HOST,3,0/HOST,3,0,3 1:ACE,5,1/ACE,5,1,3"; }, 2000);
  Check(serverSees, "the server sees both players and the player's choices: " + RoomLine());
  GUI_GetClientInfo(0)->team = 3;
  Check(WaitExact("room 0:HOST,3,3/HOST,3,3,3 1:ACE,5,1/ACE,5,1,3", 2000),
        "the player sees both players and the server's choice");

  // The match: the server's is the one that counts; the player's follows it.
  Server_AddBot(2);
  Check(ServeUntil([] { return CS_Manager::CanStart(); }, 2000), "the start is possible once the player is ready");
  CS_Manager::Write_Start();
  Check(ServeUntil([&] { return events.started; }, 1000), "the match starts");
  std::string error;
  Check(netkorvo::StartRoomMatch(true, &error), "the server's match starts: " + error);
  Check(WaitExact("started", 2000), "the player's match starts");
  Check(ServeUntil([] { return korvohost::SimMatchStatus().phase == korvohost::EMatchPhase::kRunning; }, 5000),
        "the fight begins");
  Check(ServeUntil([&] { return std::count(events.chat.begin(), events.chat.end(), "chat FF3C6EF0 ACE: GG") == 1; },
                   3000),
        "the player's chat line reaches the server during the match, in its team's blue");
  Check(WaitExact("chat FF3C6EF0 ACE: GG", 2000), "and comes back to the player");
  std::string result;
  Check(ServeUntil([&] { return !(result = MatchResult()).empty(); }, 60000), "the server's match ends");
  const std::string seen = WaitLine("over ", 5000);
  std::printf("server: %s\nplayer: %s\n", result.c_str(), seen.c_str());
  Check(!result.empty() && seen == result, "the player's match ends alike: end, time, winners, table, frag events");
  Check(result.find("over frags") == 0 && result.find("winners=;") == std::string::npos,
        "a frag limit ends it, with winners");

  korvohost::EndSimMatch();
  netkorvo::ServiceSimMatch();
  NET_Release();
  const std::string closed = WaitLine("closed ", 3000);
  Check(closed == "closed THE SERVER LEFT THE ROOM", "the server leaving ends the room with a message: " + closed);
  StopPlayer(false, [] { netkorvo::ServiceLive(); });
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::strcmp(argv[1], "--player") == 0) return RunPlayer(argv + 2);
  signal(SIGPIPE, SIG_IGN);
  g_discoveryPort = FreePort(SOCK_DGRAM);
  SRecordedEvents events;
  netkorvo::UseLiveBackend(Options(g_discoveryPort, &events));
  NET_profile.WritePrevLoginID("HOST");
  Check(LoadGame(), "the game data loads");
  TeamColours();
  Room(events);
  StopPlayer(true, [] {});
  std::printf("%s\n", g_failures ? "FAILED" : "PASSED");
  return g_failures ? 1 : 0;
}
