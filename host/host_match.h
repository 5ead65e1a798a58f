// host_match.h: the reference host's simulated network match, as the network
// stand-in sets it up, serves it and follows a room's server with it: a
// simulated network match outside sessions, so that the HUD,
// the chat, the score table and the game-over screen have a match to show.
// It loads for a while (loaders pending), then the control character and the
// bots fight in PlayerList on the frame clock: they move, fire, overheat,
// destroy each other and come back; frags and match time are counted, bots
// chat, items are picked up, the radar is jammed now and then and a bot
// hides from it. It ends at the time or frag limit with its winners, and
// stays over until EndSimMatch. What happens is also queued as events for
// the game to show (TakeSimMatchEvents). The same seed and the same clock
// give the same match however the clock is split. In a room one window's
// match (the room server's) keeps the score, and the others follow it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/host_characters.h"

// Declared here, defined by the reference host (libkorvohost.so).
#ifndef KORVOHOST_API
#define KORVOHOST_API __attribute__((visibility("default")))
#endif

namespace korvohost {

constexpr int kMaxMatchBots = 7;          // eight slots: the player and the bots
constexpr int kMaxMatchFragLimit = 999;
constexpr int kMaxMatchTimeLimit = 60;    // minutes

// A slot of the match: slot 0 is the local player (the control character).
struct SSimMatchPlayer {
  std::string name;
  bool bot = false;
  int characterIndex = 0;     // index of the game data's character table
  int left = -1, right = -1;  // option parts: -1 none, n option n
  int team = 0;               // team game: 0 or 1; else 1000 + slot (everybody on his own)
  int classIndex = 0;         // pilot class
  int frags = 0, deaths = 0;
  bool alive = true;
  const CHARACTER* character = nullptr;
};

// A match of a room. kLeads: the room server's match, whose score counts;
// what everybody sees of it (frags, chat lines, leads, notices) is also
// queued for the room's players (TakeSimMatchSharedEvents). kFollows: a
// player's match fights for the player's own view but counts no frags and
// makes no chat, leads, notices or end: those come from the server
// (FollowSimMatchScores, FollowSimMatchEvent, FollowSimMatchEnd).
enum class ERoomRole { kAlone, kLeads, kFollows };

struct SSimMatchSetup {
  std::string script;        // the host script that asked for it ("" for none)
  int rule = 0;              // game type (game-rule index), kept for the status
  bool teams = false;        // a team game: two teams, the player's team 0
  int bots = 5;              // 1 .. kMaxMatchBots
  int fragLimit = 10;        // 0: none
  int timeLimitMin = 5;      // 0: none
  uint32_t loadMs = 3000;    // loading time before the fight
  uint32_t seed = 1;
  std::string map;           // map file shown as the ground ("": the loaded ground stays)
  // The players of a room in the room's slot order, the same on every
  // side; entry `control` is the local player (the control character), all
  // others are played by the match. Empty: the current pilot and `bots`
  // bots. Name, bot flag, character index, parts, team and class are taken.
  std::vector<SSimMatchPlayer> roster;
  int control = 0;
  ERoomRole role = ERoomRole::kAlone;
};

enum class EMatchPhase { kNone, kLoading, kRunning, kOver };
enum class EMatchEnd { kNone, kTime, kFrags };


struct SSimMatchItem {
  COH_Item* item = nullptr;
  int type = 0;
  bool active = false;
  float used = 0;            // 0 .. 1 of its time used up while active
};

struct SSimMatchStatus {
  EMatchPhase phase = EMatchPhase::kNone;
  EMatchEnd end = EMatchEnd::kNone;
  std::string script;
  int rule = 0;
  bool teams = false;
  ERoomRole role = ERoomRole::kAlone;
  int control = 0;                       // the local player's slot
  int fragLimit = 0, timeLimitMin = 0;
  int loaders = 0, pendingLoaders = 0;   // loading progress
  uint32_t elapsedMs = 0;                // match time, from the end of loading (kFollows: the server's)
  int overheats = 0;                     // times the player overheated
  std::vector<SSimMatchPlayer> players;  // by slot
  std::vector<SSimMatchItem> items;      // the player's item gauges
};

// What happened, in order, for the game to show.
struct SSimMatchEvent {
  enum class EKind {
    kLoaded,      // loading done, the fight starts
    kFrag,        // slot destroyed other
    kOverheat,    // the player's guns overheated
    kChat,        // slot says text
    kItem,        // the player's item goes on (on) or runs out
    kJam,         // the radar is jammed (on) or clear again
    kHide,        // slot hides from the radar (on) or shows again
    kLead,        // slot leads alone now
    kNotice,      // text for everybody (time warnings)
    kOver,        // the match ended (end)
  };
  EKind kind = EKind::kLoaded;
  int slot = -1, other = -1;
  bool on = false;
  std::string text;
  COH_Item* item = nullptr;
  CHARACTER* character = nullptr;
};

// Starts a match at the current frame tick, ending a mission or match that
// runs. False with a reason (no characters in the game data, a setup value
// out of range).
KORVOHOST_API bool StartSimMatch(const SSimMatchSetup& setup, std::string* error);
// Ends the match: its actors and items leave the scene, no control
// character, the scene inactive. Nothing without a match.
KORVOHOST_API void EndSimMatch();
KORVOHOST_API SSimMatchStatus SimMatchStatus();
// Slots in the order of the score table: frags (team game: the team's frags
// first), fewer deaths, lower slot.
KORVOHOST_API std::vector<int> SimMatchStandings();
// 1 + the number of players with more frags; 0 for a slot without a player.
KORVOHOST_API int SimMatchRank(int slot);
// Over: the players with the most frags (team game: the best team's
// players); kFollows: those the server named.
KORVOHOST_API bool SimMatchWinner(int slot);
// A player's chat line, shown to everybody as a kChat event.
KORVOHOST_API void SimMatchSay(int slot, const std::string& text);

// ---- A room's match: the server's side and the players' ----
// kLeads: the frag, chat, lead and notice events since the last call (their
// slot and other fields, and the text; no pointers).
KORVOHOST_API std::vector<SSimMatchEvent> TakeSimMatchSharedEvents();
struct SSimMatchScore {
  int frags = 0, deaths = 0;
};
// kFollows: the server's frags and deaths by slot and its match time.
KORVOHOST_API void FollowSimMatchScores(const std::vector<SSimMatchScore>& scores, uint32_t elapsedMs);
// kFollows: a frag, chat, lead or notice event of the server's match, queued
// as this match's own; events of other kinds or with slots out of range are
// dropped.
KORVOHOST_API void FollowSimMatchEvent(const SSimMatchEvent& event);
// kFollows: the server's match ended, with these winners (slots); a match
// still loading starts its fight first, so that the game sees both.
KORVOHOST_API void FollowSimMatchEnd(EMatchEnd end, const std::vector<int>& winners);

// A match asked for by its rule's name (a host script's `match` line, a
// tool): the network library knows the rules, resolves the name and starts
// the match with its side of it (SetMatchStarter).
struct SSimMatchRequest {
  SSimMatchSetup setup;
  std::string rule;          // a rule name, or its index
  std::string room;          // the room it is played for ("": none)
};
using MatchStarter = bool (*)(const SSimMatchRequest& request, std::string* error);
KORVOHOST_API void SetMatchStarter(MatchStarter starter);
// False with a reason without a starter, or when the starter refuses.
KORVOHOST_API bool RequestSimMatch(const SSimMatchRequest& request, std::string* error);

// ---- The game data a match is set up from ----
// The map files of the game data, in file order.
KORVOHOST_API std::vector<std::string> MatchMapFiles();
// The character ids of the game data in the order of its character table,
// which SSimMatchPlayer::characterIndex counts in.
KORVOHOST_API std::vector<int> MatchCharacterIds();
// The number of option parts of the game data (SSimMatchPlayer::left and
// right count 1 .. this).
KORVOHOST_API int MatchOptionParts();
// The map file of the loaded scene ("": none).
KORVOHOST_API std::string SceneGround();

// ---- A single-player mission loading ----
// True while a simulated mission loads, with its loading progress.
KORVOHOST_API bool SimMissionLoading(int* loaders, int* pendingLoaders);

}  // namespace korvohost
