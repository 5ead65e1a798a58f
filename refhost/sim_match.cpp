// sim_match.cpp: the simulated match: its players, the steps of the frame
// clock, the events it queues and its end.
#include "refhost/sim_match.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

#include "host/host_services.h"
#include "refhost/game_state.h"
#include "refhost/sim_actors.h"
#include "refhost/sim_mission.h"

namespace korvohost {

namespace {

// ---- Tuning, per step of kSimStepMs ---------------------------------------------------------
constexpr float kArenaRadius = 150;       // nobody leaves this circle
constexpr float kSpawnRadius = 110;
constexpr float kSpeed = 1.0f, kStrafe = 0.6f, kKeepOff = 30;
constexpr float kReach = 90;              // fire from this close
constexpr int kBurstSteps = 30;           // firing, then as long cooling down
constexpr int kHitPercent = 45;
constexpr int kShotShield = 5, kShotArmor = 4;
constexpr int kShieldQuietSteps = 60, kShieldRegenEvery = 5;
constexpr int kRespawnSteps = 60;         // three seconds destroyed
constexpr int kChatFirst = 60, kChatMin = 120, kChatSpread = 160;
constexpr int kTauntPercent = 35;
constexpr int kItemFirst = 100, kItemEvery = 300, kItemSteps = 160;
constexpr int kJamFirst = 400, kJamEvery = 500, kJamSteps = 60;
constexpr int kHideFirst = 200, kHideEvery = 360, kHideSteps = 80;
constexpr uint32_t kLastMinuteMs = 60000;

constexpr const char* kBotNames[kMaxMatchBots] = {"VIPER", "JACKAL", "HORNET", "RAVEN",
                                                  "MANTIS", "COBRA", "FALCON"};
constexpr const char* kChatLines[] = {
    "WATCH YOUR HEAT", "COVER ME", "ANYONE SEEN THE LEADER?", "MY RADAR IS FULL OF NOISE",
    "SHIELDS HOLDING", "GOOD MATCH SO FAR", "NEED ARMOR HERE", "FLANKING LEFT",
};
constexpr const char* kTaunts[] = {"GOT YOU", "TOO SLOW", "NEXT!", "STAY DOWN"};
// The item types the player's gauges show, in the order items come.
constexpr int kItemTypes[] = {33, 28, 31, 27, 29, 30};
constexpr int kItemInvincible = 33, kItemArmor = 28, kItemShield = 27, kItemCooling = 29,
              kItemInsulation = 30, kItemDamage = 31;

struct Player {
  SSimMatchPlayer info;
  ObjectEntry* actor = nullptr;
  int respawnStep = 0;
  int lastHitStep = -1000;
};

struct Item {
  ObjectEntry* object = nullptr;
  int type = 0;
  int until = -1;        // step it runs out; -1: not active
};

struct Match {
  SSimMatchSetup setup;
  EMatchPhase phase = EMatchPhase::kNone;
  EMatchEnd end = EMatchEnd::kNone;
  std::vector<Player> players;
  std::vector<Item> items;
  sim::CActorSet actors;
  bool setGround = false;
  uint32_t start = 0;           // frame tick of the start
  uint32_t last = 0;            // frame tick of the last step
  uint32_t loadedMs = 0;        // loading time passed
  int step = 0;                 // steps of fighting
  uint32_t random = 1;
  int nextChat = kChatFirst;
  int jamUntil = -1, hideUntil = -1, hidden = -1;
  int leader = -1;
  bool warned = false;
  int overheats = 0;
  int me = 0;                   // the control character's slot
  std::vector<SSimMatchEvent> events;
  std::vector<SSimMatchEvent> shared;   // kLeads: what the room's players see too
  uint32_t followedMs = 0;      // kFollows: the server's match time
  std::vector<bool> winners;    // kFollows: the server's winners
};

Match& M() {
  static Match match;
  return match;
}

CHARACTER& C(Player& p) { return p.actor->actor; }

bool Follows(const Match& m) { return m.setup.role == ERoomRole::kFollows; }

bool Shared(SSimMatchEvent::EKind kind) {
  using EKind = SSimMatchEvent::EKind;
  return kind == EKind::kFrag || kind == EKind::kChat || kind == EKind::kLead || kind == EKind::kNotice;
}

// Every event goes through here: the server's match also keeps what the
// room's players are told.
void Emit(Match& m, SSimMatchEvent e) {
  if (m.setup.role == ERoomRole::kLeads && Shared(e.kind)) {
    SSimMatchEvent copy;
    copy.kind = e.kind;
    copy.slot = e.slot;
    copy.other = e.other;
    copy.text = e.text;
    m.shared.push_back(std::move(copy));
  }
  m.events.push_back(std::move(e));
}

void Queue(Match& m, SSimMatchEvent::EKind kind, int slot = -1, int other = -1) {
  SSimMatchEvent e;
  e.kind = kind;
  e.slot = slot;
  e.other = other;
  Emit(m, std::move(e));
}

// Another player than the control character, chosen at random.
int OtherThanMe(Match& m) {
  const int other = sim::RandomBelow(&m.random, int(m.players.size()) - 1);
  return other < m.me ? other : other + 1;
}

bool Enemies(const Player& a, const Player& b) { return a.info.team != b.info.team; }

void PlaceAtRandom(Match& m, CHARACTER& c) {
  const float angle = float(sim::RandomBelow(&m.random, 3600)) * std::numbers::pi_v<float> / 1800;
  const float r = kSpawnRadius - float(sim::RandomBelow(&m.random, 40));
  c.x = r * std::cos(angle);
  c.z = r * std::sin(angle);
}

// ---- Set-up -----------------------------------------------------------------------------------

void AddPlayer(Match& m, SSimMatchPlayer info) {
  const auto& characters = Game().characters;
  info.characterIndex = std::clamp(info.characterIndex, 0, int(characters.size()) - 1);
  Player p;
  p.info = std::move(info);
  p.actor = m.actors.NewActor(characters[size_t(p.info.characterIndex)].id, p.info.team);
  sim::ArmWith(p.actor, p.info.bot ? "RIFLE" : "CANNON");
  m.actors.MountPart(p.actor, p.info.left, true);
  m.actors.MountPart(p.actor, p.info.right, false);
  p.actor->listed = false;   // on the field once loaded
  p.info.character = &p.actor->actor;
  m.players.push_back(std::move(p));
}

// A room's players: the team game keeps their teams, else each is on his own.
void AddRoster(Match& m) {
  m.me = m.setup.control;
  for (size_t slot = 0; slot < m.setup.roster.size(); ++slot) {
    SSimMatchPlayer p = m.setup.roster[slot];
    p.bot = int(slot) != m.me && p.bot;
    p.team = m.setup.teams ? p.team : 1000 + int(slot);
    p.frags = p.deaths = 0;
    p.alive = true;
    p.character = nullptr;
    AddPlayer(m, std::move(p));
  }
  for (int type : kItemTypes) m.items.push_back({m.actors.NewItem(type), type, -1});
}

void AddPlayers(Match& m) {
  if (!m.setup.roster.empty()) return AddRoster(m);
  const int characters = int(Game().characters.size());
  const int parts = int(Game().optionParts.size());
  SSimMatchPlayer me;
  const AccountEntry* pilot = Game().current;
  me.name = pilot ? pilot->record.name : "PLAYER";
  me.characterIndex = pilot ? pilot->record.character : 0;
  me.left = pilot && pilot->record.left >= 1 ? pilot->record.left : -1;
  me.right = pilot && pilot->record.right >= 1 ? pilot->record.right : -1;
  me.team = m.setup.teams ? 0 : 1000;
  AddPlayer(m, me);
  for (int i = 1; i <= m.setup.bots; ++i) {
    SSimMatchPlayer bot;
    bot.name = kBotNames[i - 1];
    bot.bot = true;
    bot.characterIndex = sim::RandomBelow(&m.random, characters);
    bot.left = parts ? 1 + sim::RandomBelow(&m.random, parts) : -1;
    bot.right = parts && sim::RandomBelow(&m.random, 2) ? 1 + sim::RandomBelow(&m.random, parts) : -1;
    bot.team = m.setup.teams ? i % 2 : 1000 + i;
    bot.classIndex = sim::RandomBelow(&m.random, 10);
    AddPlayer(m, bot);
  }
  for (int type : kItemTypes) m.items.push_back({m.actors.NewItem(type), type, -1});
}

// ---- One step of fighting ---------------------------------------------------------------------

Player* NearestEnemy(Match& m, Player& p) {
  Player* best = nullptr;
  for (Player& o : m.players)
    if (&o != &p && o.info.alive && Enemies(p, o) &&
        (!best || sim::Distance(C(p), C(o)) < sim::Distance(C(p), C(*best))))
      best = &o;
  return best;
}

bool ItemActive(const Match& m, int type) {
  for (const Item& i : m.items)
    if (i.type == type) return i.until >= 0;
  return false;
}

void Move(Player& p, const Player* target, int slot) {
  CHARACTER& c = C(p);
  if (target) {
    sim::MoveToward(target->actor->actor, c, kSpeed, kKeepOff);
    // Circle the target, each slot its own way round.
    const float dx = target->actor->actor.x - c.x, dz = target->actor->actor.z - c.z;
    const float d = std::hypot(dx, dz);
    const float way = slot % 2 ? 1.0f : -1.0f;
    if (d > 0) c.x += -dz / d * kStrafe * way, c.z += dx / d * kStrafe * way;
  }
  const float r = std::hypot(c.x, c.z);
  if (r > kArenaRadius) c.x *= kArenaRadius / r, c.z *= kArenaRadius / r;
}

void Destroyed(Match& m, int killer, int victim) {
  Player& k = m.players[size_t(killer)];
  Player& v = m.players[size_t(victim)];
  v.info.alive = false;
  v.actor->listed = false;
  v.respawnStep = m.step + kRespawnSteps;
  if (Follows(m)) return;   // the server counts the frags
  ++k.info.frags;
  ++v.info.deaths;
  Queue(m, SSimMatchEvent::EKind::kFrag, killer, victim);
  if (k.info.bot && sim::RandomBelow(&m.random, 100) < kTauntPercent) {
    SSimMatchEvent e;
    e.kind = SSimMatchEvent::EKind::kChat;
    e.slot = killer;
    e.text = kTaunts[sim::RandomBelow(&m.random, int(std::size(kTaunts)))];
    Emit(m, std::move(e));
  }
}

void Fire(Match& m, int slot, Player* target) {
  Player& p = m.players[size_t(slot)];
  CHARACTER& c = C(p);
  const bool me = slot == m.me;
  const bool burst = ((m.step + slot * 13) / kBurstSteps) % 2 == 0;
  const bool inReach = target && sim::Distance(c, C(*target)) <= kReach;
  if (!(burst && inReach && !c.heat.overheated)) {
    sim::Cool(c);
    sim::UpdateHeatFlag(c);
    return;
  }
  const bool insulated = me && ItemActive(m, kItemInsulation);
  if (!insulated && sim::HeatShot(c) && me) {
    ++m.overheats;
    Queue(m, SSimMatchEvent::EKind::kOverheat, slot);
  }
  sim::UpdateHeatFlag(c);
  if (sim::RandomBelow(&m.random, 100) >= kHitPercent) return;
  const int victim = int(target - m.players.data());
  if (victim == m.me && ItemActive(m, kItemInvincible)) return;
  const int times = me && ItemActive(m, kItemDamage) ? 2 : 1;
  CHARACTER& t = C(*target);
  for (int i = 0; i < times; ++i) {
    if (t.shield > 0) t.shield = std::max(0, t.shield - kShotShield);
    else t.armor = std::max(0, t.armor - kShotArmor);
  }
  target->lastHitStep = m.step;
  if (t.armor == 0) Destroyed(m, slot, victim);
}

void Respawn(Match& m, Player& p) {
  CHARACTER& c = C(p);
  c.armor = 100;
  c.shield = 100;
  c.heat.value = 0;
  c.heat.overheated = false;
  c.heatFlag = false;
  PlaceAtRandom(m, c);
  p.info.alive = true;
  p.actor->listed = true;
}

// A bot says something now and then (players of a room speak for themselves).
void Chat(Match& m) {
  if (Follows(m) || m.step < m.nextChat || m.players.size() < 2) return;
  m.nextChat = m.step + kChatMin + sim::RandomBelow(&m.random, kChatSpread);
  SSimMatchEvent e;
  e.kind = SSimMatchEvent::EKind::kChat;
  e.slot = OtherThanMe(m);
  e.text = kChatLines[sim::RandomBelow(&m.random, int(std::size(kChatLines)))];
  if (m.players[size_t(e.slot)].info.bot) Emit(m, std::move(e));
}

void Items(Match& m) {
  Player& me = m.players[size_t(m.me)];
  for (Item& i : m.items) {
    if (i.until < 0 || m.step < i.until) continue;
    i.until = -1;
    SSimMatchEvent e;
    e.kind = SSimMatchEvent::EKind::kItem;
    e.item = &i.object->item;
    m.events.push_back(std::move(e));
  }
  if (m.step < kItemFirst || (m.step - kItemFirst) % kItemEvery != 0 || !me.info.alive) return;
  Item& i = m.items[size_t((m.step - kItemFirst) / kItemEvery) % m.items.size()];
  i.until = m.step + kItemSteps;
  CHARACTER& c = C(me);
  if (i.type == kItemArmor) c.armor = std::min(100, c.armor + 40);
  if (i.type == kItemShield) c.shield = 100;
  if (i.type == kItemCooling) {
    c.heat.value = 0;
    c.heat.overheated = false;
  }
  SSimMatchEvent e;
  e.kind = SSimMatchEvent::EKind::kItem;
  e.on = true;
  e.item = &i.object->item;
  m.events.push_back(std::move(e));
}

void Radar(Match& m) {
  auto toggle = [&](SSimMatchEvent::EKind kind, bool on, int slot, CHARACTER* character) {
    SSimMatchEvent e;
    e.kind = kind;
    e.on = on;
    e.slot = slot;
    e.character = character;
    m.events.push_back(std::move(e));
  };
  if (m.step == m.jamUntil) {
    m.jamUntil = -1;
    toggle(SSimMatchEvent::EKind::kJam, false, -1, nullptr);
  } else if (m.step >= kJamFirst && (m.step - kJamFirst) % kJamEvery == 0) {
    m.jamUntil = m.step + kJamSteps;
    toggle(SSimMatchEvent::EKind::kJam, true, -1, nullptr);
  }
  if (m.step == m.hideUntil) {
    toggle(SSimMatchEvent::EKind::kHide, false, m.hidden, &C(m.players[size_t(m.hidden)]));
    m.hideUntil = -1;
  } else if (m.step >= kHideFirst && (m.step - kHideFirst) % kHideEvery == 0 && m.players.size() > 1) {
    m.hidden = OtherThanMe(m);
    m.hideUntil = m.step + kHideSteps;
    toggle(SSimMatchEvent::EKind::kHide, true, m.hidden, &C(m.players[size_t(m.hidden)]));
  }
}

int TeamFrags(const Match& m, int team) {
  int n = 0;
  for (const Player& p : m.players) n += p.info.team == team ? p.info.frags : 0;
  return n;
}

// The score a slot is ranked by: its frags, or in a team game its team's.
int Score(const Match& m, const Player& p) { return m.setup.teams ? TeamFrags(m, p.info.team) : p.info.frags; }

void Lead(Match& m) {
  if (Follows(m)) return;   // the server tells who leads
  int best = -1;
  bool alone = false;
  for (size_t i = 0; i < m.players.size(); ++i) {
    const int frags = m.players[i].info.frags;
    if (best < 0 || frags > m.players[size_t(best)].info.frags) best = int(i), alone = true;
    else if (frags == m.players[size_t(best)].info.frags) alone = false;
  }
  if (!alone || best == m.leader || m.players[size_t(best)].info.frags == 0) return;
  m.leader = best;
  Queue(m, SSimMatchEvent::EKind::kLead, best);
}

void CheckEnd(Match& m) {
  if (Follows(m)) return;   // the server's match ends it
  const uint32_t limitMs = uint32_t(m.setup.timeLimitMin) * 60000u;
  const uint32_t elapsed = uint32_t(m.step) * kSimStepMs;
  if (limitMs && !m.warned && limitMs > kLastMinuteMs && elapsed >= limitMs - kLastMinuteMs) {
    m.warned = true;
    SSimMatchEvent e;
    e.kind = SSimMatchEvent::EKind::kNotice;
    e.text = "ONE MINUTE LEFT";
    Emit(m, std::move(e));
  }
  EMatchEnd end = EMatchEnd::kNone;
  if (m.setup.fragLimit)
    for (const Player& p : m.players)
      if (Score(m, p) >= m.setup.fragLimit) end = EMatchEnd::kFrags;
  if (end == EMatchEnd::kNone && limitMs && elapsed >= limitMs) end = EMatchEnd::kTime;
  if (end == EMatchEnd::kNone) return;
  m.phase = EMatchPhase::kOver;
  m.end = end;
  if (m.jamUntil >= 0) Queue(m, SSimMatchEvent::EKind::kJam);   // the noise stops with the match
  Queue(m, SSimMatchEvent::EKind::kOver);
}

void Step(Match& m) {
  ++m.step;
  for (size_t i = 0; i < m.players.size(); ++i) {
    Player& p = m.players[i];
    if (!p.info.alive) {
      sim::Cool(C(p));   // the wreck cools down
      if (m.step >= p.respawnStep) Respawn(m, p);
      continue;
    }
    Move(p, NearestEnemy(m, p), int(i));
  }
  for (size_t i = 0; i < m.players.size(); ++i) {
    Player& p = m.players[i];
    if (!p.info.alive) continue;
    Fire(m, int(i), NearestEnemy(m, p));
  }
  for (Player& p : m.players) {
    CHARACTER& c = C(p);
    if (p.info.alive && c.shield < 100 && m.step - p.lastHitStep > kShieldQuietSteps &&
        m.step % kShieldRegenEvery == 0)
      ++c.shield;
  }
  for (COPT_Option* option : {C(m.players[size_t(m.me)]).leftOption, C(m.players[size_t(m.me)]).rightOption})
    if (option) option->charge = float((m.step % kBurstSteps) + 1) / float(kBurstSteps);
  Chat(m);
  Items(m);
  Radar(m);
  Lead(m);
  CheckEnd(m);
}

void FinishLoading(Match& m) {
  m.phase = EMatchPhase::kRunning;
  for (Player& p : m.players) {
    PlaceAtRandom(m, C(p));
    p.actor->listed = true;
  }
  Queue(m, SSimMatchEvent::EKind::kLoaded);
}

}  // namespace

// ---- Control API --------------------------------------------------------------------------------

bool StartSimMatch(const SSimMatchSetup& setup, std::string* error) {
  const auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (Game().characters.empty()) return fail("no characters in the game data");
  if (!setup.roster.empty() && (setup.roster.size() < 2 || setup.roster.size() > kMaxMatchBots + 1))
    return fail("a match needs 2-" + std::to_string(kMaxMatchBots + 1) + " players");
  if (setup.roster.empty() && (setup.bots < 1 || setup.bots > kMaxMatchBots))
    return fail("bots must be 1-" + std::to_string(kMaxMatchBots));
  if (setup.fragLimit < 0 || setup.fragLimit > kMaxMatchFragLimit)
    return fail("the frag limit must be 0-" + std::to_string(kMaxMatchFragLimit));
  if (setup.timeLimitMin < 0 || setup.timeLimitMin > kMaxMatchTimeLimit)
    return fail("the time limit must be 0-" + std::to_string(kMaxMatchTimeLimit) + " minutes");
  if (setup.fragLimit == 0 && setup.timeLimitMin == 0) return fail("a match needs a frag or a time limit");
  if (setup.control < 0 || setup.control >= std::max<int>(1, int(setup.roster.size())))
    return fail("the control character must be one of the players");
  EndSimMission();
  EndSimMatch();
  Match& m = M();
  m.setup = setup;
  m.phase = EMatchPhase::kLoading;
  m.random = setup.seed;
  m.start = m.last = dwY3DCurrentFrameTick;
  AddPlayers(m);
  m.setGround = sim::EnterScene(&m.players[size_t(m.me)].actor->actor, setup.map, 200);
  if (setup.loadMs == 0) FinishLoading(m);
  return true;
}

void EndSimMatch() {
  Match& m = M();
  if (m.phase == EMatchPhase::kNone) return;
  sim::LeaveScene(m.actors, m.setGround);
  m = Match();
}

void EndSimMatchOf(const std::string& script) {
  if (M().phase != EMatchPhase::kNone && M().setup.script == script) EndSimMatch();
}

void StepSimMatch(uint32_t now) {
  Match& m = M();
  if (m.phase == EMatchPhase::kNone) return;
  int steps = 0;
  while (int32_t(now - m.last) >= int32_t(kSimStepMs)) {
    m.last += kSimStepMs;
    if (m.phase == EMatchPhase::kLoading) {
      m.loadedMs += kSimStepMs;
      if (m.loadedMs >= m.setup.loadMs) FinishLoading(m);
    } else if (m.phase == EMatchPhase::kRunning) {
      Step(m);
    }
    if (++steps == sim::kMaxStepsPerCall) {
      m.last = now;   // behind by more than it catches up: the rest is skipped
      break;
    }
  }
}

SSimMatchStatus SimMatchStatus() {
  const Match& m = M();
  SSimMatchStatus s;
  s.phase = m.phase;
  s.end = m.end;
  s.script = m.setup.script;
  s.rule = m.setup.rule;
  s.teams = m.setup.teams;
  s.role = m.setup.role;
  s.control = m.me;
  s.fragLimit = m.setup.fragLimit;
  s.timeLimitMin = m.setup.timeLimitMin;
  s.loaders = int(m.players.size());
  if (m.phase == EMatchPhase::kLoading && m.setup.loadMs > 0)
    s.pendingLoaders = s.loaders - int(uint64_t(m.loadedMs) * uint64_t(s.loaders) / m.setup.loadMs);
  s.elapsedMs = Follows(m) ? m.followedMs : uint32_t(m.step) * kSimStepMs;
  s.overheats = m.overheats;
  for (const Player& p : m.players) s.players.push_back(p.info);
  for (const Item& i : m.items) {
    SSimMatchItem item;
    item.item = &i.object->item;
    item.type = i.type;
    item.active = i.until >= 0;
    if (item.active) item.used = 1.0f - float(i.until - m.step) / float(kItemSteps);
    s.items.push_back(item);
  }
  return s;
}

std::vector<int> SimMatchStandings() {
  const Match& m = M();
  std::vector<int> slots(m.players.size());
  for (size_t i = 0; i < slots.size(); ++i) slots[i] = int(i);
  std::sort(slots.begin(), slots.end(), [&](int a, int b) {
    const Player& pa = m.players[size_t(a)];
    const Player& pb = m.players[size_t(b)];
    if (Score(m, pa) != Score(m, pb)) return Score(m, pa) > Score(m, pb);
    if (pa.info.frags != pb.info.frags) return pa.info.frags > pb.info.frags;
    if (pa.info.deaths != pb.info.deaths) return pa.info.deaths < pb.info.deaths;
    return a < b;
  });
  return slots;
}

int SimMatchRank(int slot) {
  const Match& m = M();
  if (slot < 0 || slot >= int(m.players.size())) return 0;
  int rank = 1;
  for (const Player& p : m.players) rank += Score(m, p) > Score(m, m.players[size_t(slot)]);
  return rank;
}

namespace {
MatchStarter g_starter = nullptr;
}  // namespace

void SetMatchStarter(MatchStarter starter) { g_starter = starter; }

bool RequestSimMatch(const SSimMatchRequest& request, std::string* error) {
  if (g_starter) return g_starter(request, error);
  if (error) *error = "no network library to start a match";
  return false;
}

bool SimMatchWinner(int slot) {
  const Match& m = M();
  if (m.phase != EMatchPhase::kOver) return false;
  if (Follows(m)) return slot >= 0 && slot < int(m.winners.size()) && m.winners[size_t(slot)];
  return SimMatchRank(slot) == 1;
}

void SimMatchSay(int slot, const std::string& text) {
  Match& m = M();
  if (m.phase == EMatchPhase::kNone || slot < 0 || slot >= int(m.players.size())) return;
  SSimMatchEvent e;
  e.kind = SSimMatchEvent::EKind::kChat;
  e.slot = slot;
  e.text = text;
  Emit(m, std::move(e));
}

std::vector<SSimMatchEvent> TakeSimMatchEvents() {
  std::vector<SSimMatchEvent> out;
  out.swap(M().events);
  return out;
}

// ---- The game data a match is set up from ------------------------------------------------------

std::vector<std::string> MatchMapFiles() {
  std::vector<std::string> files;
  for (const auto& map : Game().maps) files.push_back(map.file);
  return files;
}

std::vector<int> MatchCharacterIds() {
  std::vector<int> ids;
  for (const auto& character : Game().characters) ids.push_back(character.id);
  return ids;
}

int MatchOptionParts() { return int(Game().optionParts.size()); }

std::string SceneGround() { return Game().scene.ground; }

// ---- A room's match -------------------------------------------------------------------------------

std::vector<SSimMatchEvent> TakeSimMatchSharedEvents() {
  std::vector<SSimMatchEvent> out;
  out.swap(M().shared);
  return out;
}

void FollowSimMatchScores(const std::vector<SSimMatchScore>& scores, uint32_t elapsedMs) {
  Match& m = M();
  if (m.phase == EMatchPhase::kNone || !Follows(m)) return;
  for (size_t i = 0; i < scores.size() && i < m.players.size(); ++i) {
    m.players[i].info.frags = scores[i].frags;
    m.players[i].info.deaths = scores[i].deaths;
  }
  m.followedMs = elapsedMs;
}

void FollowSimMatchEvent(const SSimMatchEvent& event) {
  Match& m = M();
  if (m.phase == EMatchPhase::kNone || !Follows(m) || !Shared(event.kind)) return;
  const auto valid = [&](int slot) { return slot >= 0 && slot < int(m.players.size()); };
  using EKind = SSimMatchEvent::EKind;
  if (event.kind != EKind::kNotice && !valid(event.slot)) return;
  if (event.kind == EKind::kFrag && !valid(event.other)) return;
  SSimMatchEvent e;
  e.kind = event.kind;
  e.slot = event.slot;
  e.other = event.other;
  e.text = event.text;
  m.events.push_back(std::move(e));
}

void FollowSimMatchEnd(EMatchEnd end, const std::vector<int>& winners) {
  Match& m = M();
  if (m.phase == EMatchPhase::kNone || m.phase == EMatchPhase::kOver || !Follows(m)) return;
  if (m.phase == EMatchPhase::kLoading) FinishLoading(m);
  m.winners.assign(m.players.size(), false);
  for (int slot : winners)
    if (slot >= 0 && slot < int(m.players.size())) m.winners[size_t(slot)] = true;
  m.phase = EMatchPhase::kOver;
  m.end = end;
  if (m.jamUntil >= 0) Queue(m, SSimMatchEvent::EKind::kJam);
  Queue(m, SSimMatchEvent::EKind::kOver);
}

void ForgetSimMatch() { M() = Match(); }

}  // namespace korvohost
