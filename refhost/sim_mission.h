// sim_mission.h: a simulated mission outside sessions, so that the play
// interface has something to show: a mission script's `mission` line (or a
// tool, or a test) starts it; the scene becomes active and the host is in its
// game loop; the control character and a few enemies appear in PlayerList.
// It loads for a while on the frame clock, then each step of the mission
// clock (the frame clock, or a multiple of it) moves them and changes their armor, shield and heat
// (overheat included) and counts the mission's play time. The pilot fires
// while the trigger is held; the enemies engage once fired upon. All enemies
// down wins (the win is recorded in the pilot's account, campaign.h); all
// armor lost, or the time limit run out, loses. What happens is queued as
// events for the game to show. It ends with `s_terminate` of its script,
// ReleaseScene or EndSimMission.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "refhost/korvohost.h"

namespace korvohost {

struct SSimMissionSetup {
  std::string script;     // the mission script that starts it ("" for none)
  std::string map;        // map file shown behind the menus ("": the loaded ground stays)
  int enemies = 3;        // 1 .. kMaxSimEnemies
  uint32_t seed = 1;      // where the enemies start
  int timeLimitMin = 0;   // 0: none; else 1 .. kMaxSimMissionTime
  uint32_t loadMs = 2000; // time spent loading before the fight (frame clock)
};

constexpr int kMaxSimMissionTime = 60;   // minutes
// The mission clock runs at most this many times the frame clock.
constexpr int kMaxSimMissionSpeed = 100;

constexpr int kMaxSimEnemies = 16;
// The simulation advances in steps of this many milliseconds of the frame clock.
constexpr uint32_t kSimStepMs = 50;

enum class ESimOutcome { kNone, kRunning, kWon, kLost };
// Why it ended: every enemy down, the pilot's armor gone, the time limit.
enum class ESimMissionEnd { kNone, kEnemies, kArmor, kTime };

struct SSimMissionStatus {
  ESimOutcome outcome = ESimOutcome::kNone;   // kNone: no mission
  ESimMissionEnd end = ESimMissionEnd::kNone;
  std::string script;
  uint32_t starts = 0;       // missions started so far (a restart counts)
  bool loading = false;      // running, still loading
  int loaders = 0, pendingLoaders = 0;   // loading progress
  uint32_t playTimeMs = 0;   // time played until now or until the outcome
  uint32_t timeLimitMs = 0;  // 0: none
  int enemies = 0, enemiesLeft = 0;
  int overheats = 0;         // times the control character overheated
};

// What happened, in order, for the game to show.
struct SSimMissionEvent {
  enum class EKind {
    kLoaded,      // loading done, the fight starts
    kDestroyed,   // an enemy went down (left: how many remain)
    kOverheat,    // the pilot's guns overheated
    kOver,        // the mission ended (status.outcome and end say how)
  };
  EKind kind = EKind::kLoaded;
  int left = 0;
};

// Starts a mission at the current frame tick, ending one that runs. False
// with a reason (no characters in the game data, enemies out of range).
KORVOHOST_API bool StartSimMission(const SSimMissionSetup& setup, std::string* error);
// Ends the mission: its actors leave PlayerList, no control character, the
// scene inactive, out of the game loop. Nothing without a mission.
KORVOHOST_API void EndSimMission();
// Ends the mission when that script started it.
KORVOHOST_API void EndSimMissionOf(const std::string& script);
// Runs the steps due up to frame tick `now`; SetTick calls it.
KORVOHOST_API void StepSimMission(uint32_t now);
KORVOHOST_API SSimMissionStatus SimMissionStatus();
KORVOHOST_API std::vector<SSimMissionEvent> TakeSimMissionEvents();
// Mission steps per step of the frame clock, 1 .. kMaxSimMissionSpeed (1 at
// start): a faster mission for tests. Kept across missions.
KORVOHOST_API void SetSimMissionSpeed(int speed);
// Whether the pilot holds the trigger (the game's fire input), per frame.
KORVOHOST_API void SetSimMissionTrigger(bool held);

// Internal: the game state was emptied under the mission (Reset).
void ForgetSimMission();

}  // namespace korvohost
