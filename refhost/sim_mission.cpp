// sim_mission.cpp: the simulated mission: its actors, the steps of the frame
// clock and its end.
#include "refhost/sim_mission.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "host/host_services.h"
#include "refhost/campaign.h"
#include "refhost/game_state.h"
#include "refhost/sim_actors.h"
#include "refhost/sim_match.h"

namespace korvohost {

namespace {

// ---- Tuning, per step of kSimStepMs --------------------------------------------------------
constexpr float kOrbitRadius = 40;        // the control character circles the origin
constexpr float kOrbitStep = 0.01f;       // radians
constexpr float kEnemySpeed = 0.8f;       // units an enemy closes in
constexpr float kEnemyKeepOff = 25;       // distance an enemy keeps from its target
constexpr float kEnemyReach = 60;         // enemies hit from this close
constexpr int kBurstSteps = 40;           // firing, then as long cooling down
constexpr int kShotShield = 3, kShotArmor = 3;          // what a shot takes off an enemy
constexpr int kHitEvery = 40;                            // an enemy hits every two seconds
constexpr int kHitShield = 2, kHitArmor = 1;            // what a hit takes off the player
constexpr int kShieldRegenEvery = 10, kShieldQuietSteps = 40;
constexpr int kEnemyShield = 50;

using sim::Distance;

struct Mission {
  SSimMissionSetup setup;
  ESimOutcome outcome = ESimOutcome::kNone;
  ESimMissionEnd end = ESimMissionEnd::kNone;
  uint32_t loadedMs = 0;               // frame time loaded; done at setup.loadMs
  bool engaged = false;                // the pilot opened fire: the enemies fight back
  ObjectEntry* player = nullptr;
  std::vector<ObjectEntry*> enemies;
  sim::CActorSet actors;               // every object it made, to remove at the end
  bool setGround = false;
  uint32_t last = 0;                   // frame tick of the last step
  int step = 0;                        // steps since the start
  int lastHitStep = -1000;             // last step the player was hit
  uint32_t playTimeMs = 0;
  int overheats = 0;
  std::vector<SSimMissionEvent> events;
};

Mission& M() {
  static Mission mission;
  return mission;
}

// What outlives one mission: the clock's speed, the trigger, the start count.
struct Controls {
  int speed = 1;
  bool trigger = false;
  uint32_t starts = 0;
};

Controls& C() {
  static Controls controls;
  return controls;
}

void Queue(Mission& m, SSimMissionEvent::EKind kind, int left = 0) {
  SSimMissionEvent e;
  e.kind = kind;
  e.left = left;
  m.events.push_back(e);
}

bool Live(const ObjectEntry* enemy) { return enemy->listed && enemy->actor.armor > 0; }

// ---- One step -------------------------------------------------------------------------------

void MovePlayer(Mission& m) {
  CHARACTER& p = m.player->actor;
  const float angle = float(m.step) * kOrbitStep;
  p.x = kOrbitRadius * std::cos(angle);
  p.z = kOrbitRadius * std::sin(angle);
}

// Fires at the nearest enemy while the burst lasts and the guns are not overheated.
void FireOrCool(Mission& m) {
  CHARACTER& p = m.player->actor;
  const bool burst = (m.step / kBurstSteps) % 2 == 0;
  ObjectEntry* target = nullptr;
  for (ObjectEntry* e : m.enemies)
    if (Live(e) && (!target || Distance(p, e->actor) < Distance(p, target->actor))) target = e;
  if (C().trigger && burst && !p.heat.overheated && target) {
    m.engaged = true;
    const bool overheated = sim::HeatShot(p);
    CHARACTER& t = target->actor;
    if (t.shield > 0) t.shield = std::max(0, t.shield - kShotShield);
    else t.armor = std::max(0, t.armor - kShotArmor);
    if (t.armor == 0) {
      target->listed = false;   // destroyed: off the list
      Queue(m, SSimMissionEvent::EKind::kDestroyed,
            int(std::count_if(m.enemies.begin(), m.enemies.end(), Live)));
    }
    m.overheats += overheated;
    if (overheated) Queue(m, SSimMissionEvent::EKind::kOverheat);
  } else {
    sim::Cool(p);
  }
  sim::UpdateHeatFlag(p);
  for (COPT_Option* option : {p.leftOption, p.rightOption})
    if (option) option->charge = float((m.step % kBurstSteps) + 1) / float(kBurstSteps);
}

void TakeHits(Mission& m) {
  CHARACTER& p = m.player->actor;
  for (size_t i = 0; i < m.enemies.size(); ++i) {
    const ObjectEntry* e = m.enemies[i];
    if (!Live(e) || Distance(p, e->actor) > kEnemyReach) continue;
    if ((m.step + int(i) * 7) % kHitEvery != 0) continue;   // staggered
    if (p.shield > 0) p.shield = std::max(0, p.shield - kHitShield);
    else p.armor = std::max(0, p.armor - kHitArmor);
    m.lastHitStep = m.step;
  }
  if (p.shield < 100 && m.step - m.lastHitStep > kShieldQuietSteps && m.step % kShieldRegenEvery == 0)
    ++p.shield;
}

void End(Mission& m, ESimOutcome outcome, ESimMissionEnd end) {
  m.outcome = outcome;
  m.end = end;
  if (outcome == ESimOutcome::kWon) RecordMissionWin(m.setup.script, m.playTimeMs / 1000);
  Queue(m, SSimMissionEvent::EKind::kOver);
}

// Loading runs on the frame clock, whatever the mission clock's speed.
bool Loading(Mission& m) {
  if (m.loadedMs >= m.setup.loadMs) return false;
  m.loadedMs += kSimStepMs;
  if (m.loadedMs >= m.setup.loadMs) Queue(m, SSimMissionEvent::EKind::kLoaded);
  return true;
}

void Step(Mission& m) {
  ++m.step;
  m.playTimeMs += kSimStepMs;
  MovePlayer(m);
  if (m.engaged)
    for (ObjectEntry* e : m.enemies)
      if (Live(e)) sim::MoveToward(m.player->actor, e->actor, kEnemySpeed, kEnemyKeepOff);
  FireOrCool(m);
  if (m.engaged) TakeHits(m);
  const uint32_t limitMs = uint32_t(m.setup.timeLimitMin) * 60000;
  if (m.player->actor.armor == 0) End(m, ESimOutcome::kLost, ESimMissionEnd::kArmor);
  else if (std::none_of(m.enemies.begin(), m.enemies.end(), Live)) End(m, ESimOutcome::kWon, ESimMissionEnd::kEnemies);
  else if (limitMs && m.playTimeMs >= limitMs) End(m, ESimOutcome::kLost, ESimMissionEnd::kTime);
}

}  // namespace

// ---- Control API ------------------------------------------------------------------------------

bool StartSimMission(const SSimMissionSetup& setup, std::string* error) {
  if (Game().characters.empty()) {
    if (error) *error = "no characters in the game data";
    return false;
  }
  if (setup.enemies < 1 || setup.enemies > kMaxSimEnemies) {
    if (error) *error = "enemies must be 1-" + std::to_string(kMaxSimEnemies);
    return false;
  }
  if (setup.timeLimitMin < 0 || setup.timeLimitMin > kMaxSimMissionTime) {
    if (error) *error = "the time limit must be 0-" + std::to_string(kMaxSimMissionTime) + " minutes";
    return false;
  }
  EndSimMatch();
  EndSimMission();
  Mission& m = M();
  m.setup = setup;
  m.outcome = ESimOutcome::kRunning;
  m.last = dwY3DCurrentFrameTick;
  ++C().starts;
  if (setup.loadMs == 0) Queue(m, SSimMissionEvent::EKind::kLoaded);

  // The player's character and option parts come from the current pilot.
  const auto& characters = Game().characters;
  const AccountEntry* pilot = Game().current;
  const int index = pilot ? pilot->record.character : 0;
  const int id = characters[index >= 0 && index < int(characters.size()) ? size_t(index) : 0].id;
  m.player = m.actors.NewActor(id, 0);
  sim::ArmWith(m.player, "CANNON");
  if (pilot) {
    m.actors.MountPart(m.player, pilot->record.left, true);
    m.actors.MountPart(m.player, pilot->record.right, false);
  }
  MovePlayer(m);

  uint32_t random = setup.seed;
  for (int i = 0; i < setup.enemies; ++i) {
    const auto& c = characters[sim::NextRandom(&random) % characters.size()];
    ObjectEntry* e = m.actors.NewActor(c.id, 1);
    e->actor.shield = kEnemyShield;
    const float angle = float(sim::NextRandom(&random) % 3600) * std::numbers::pi_v<float> / 1800;
    const float range = 90 + float(sim::NextRandom(&random) % 30);
    e->actor.x = range * std::cos(angle);
    e->actor.z = range * std::sin(angle);
    m.enemies.push_back(e);
  }

  m.setGround = sim::EnterScene(&m.player->actor, setup.map, 120);
  return true;
}

void EndSimMission() {
  Mission& m = M();
  if (m.outcome == ESimOutcome::kNone) return;
  sim::LeaveScene(m.actors, m.setGround);
  m = Mission();
}

void EndSimMissionOf(const std::string& script) {
  if (M().outcome != ESimOutcome::kNone && M().setup.script == script) EndSimMission();
}

void StepSimMission(uint32_t now) {
  Mission& m = M();
  if (m.outcome == ESimOutcome::kNone) return;
  int steps = 0;
  while (int32_t(now - m.last) >= int32_t(kSimStepMs)) {
    m.last += kSimStepMs;
    if (m.outcome == ESimOutcome::kRunning && !Loading(m))
      for (int i = 0; i < C().speed && m.outcome == ESimOutcome::kRunning; ++i) Step(m);
    if (++steps == sim::kMaxStepsPerCall) {
      m.last = now;   // behind by more than it catches up: the rest is skipped
      break;
    }
  }
}

SSimMissionStatus SimMissionStatus() {
  const Mission& m = M();
  SSimMissionStatus s;
  s.outcome = m.outcome;
  s.end = m.end;
  s.script = m.setup.script;
  s.starts = C().starts;
  s.playTimeMs = m.playTimeMs;
  s.timeLimitMs = uint32_t(m.setup.timeLimitMin) * 60000;
  s.overheats = m.overheats;
  s.enemies = int(m.enemies.size());
  for (const ObjectEntry* e : m.enemies) s.enemiesLeft += Live(e);
  s.loading = m.outcome == ESimOutcome::kRunning && m.loadedMs < m.setup.loadMs;
  // One loader for the pilot and one for each enemy, done in turn.
  s.loaders = 1 + s.enemies;
  if (s.loading)
    s.pendingLoaders = s.loaders - int(uint64_t(m.loadedMs) * uint64_t(s.loaders) / m.setup.loadMs);
  return s;
}

bool SimMissionLoading(int* loaders, int* pendingLoaders) {
  const SSimMissionStatus s = SimMissionStatus();
  if (!s.loading) return false;
  *loaders = s.loaders;
  *pendingLoaders = s.pendingLoaders;
  return true;
}

std::vector<SSimMissionEvent> TakeSimMissionEvents() {
  std::vector<SSimMissionEvent> out;
  out.swap(M().events);
  return out;
}

void SetSimMissionSpeed(int speed) { C().speed = std::clamp(speed, 1, kMaxSimMissionSpeed); }
void SetSimMissionTrigger(bool held) { C().trigger = held; }

void ForgetSimMission() {
  M() = Mission();
  C() = Controls();
}

}  // namespace korvohost
