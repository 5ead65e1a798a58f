// sim_mission.h: a simulated mission outside sessions, so that the play
// interface has something to show: a mission script's `mission` line (or a
// tool, or a test) starts it; the scene becomes active and the host is in its
// game loop; the control character and a few enemies appear in PlayerList;
// each step of the frame clock moves them and changes their armor, shield
// and heat (overheat included) and counts the mission's play time. It ends
// with `s_terminate` of its script, ReleaseScene or EndSimMission.
#pragma once
#include <cstdint>
#include <string>

#include "refhost/korvohost.h"

namespace korvohost {

struct SSimMissionSetup {
  std::string script;     // the mission script that starts it ("" for none)
  std::string map;        // map file shown behind the menus ("": the loaded ground stays)
  int enemies = 3;        // 1 .. kMaxSimEnemies
  uint32_t seed = 1;      // where the enemies start
};

constexpr int kMaxSimEnemies = 16;
// The simulation advances in steps of this many milliseconds of the frame clock.
constexpr uint32_t kSimStepMs = 50;

enum class ESimOutcome { kNone, kRunning, kWon, kLost };

struct SSimMissionStatus {
  ESimOutcome outcome = ESimOutcome::kNone;   // kNone: no mission
  std::string script;
  uint32_t playTimeMs = 0;   // time played until now or until the outcome
  int enemiesLeft = 0;
  int overheats = 0;         // times the control character overheated
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

// Internal: the game state was emptied under the mission (Reset).
void ForgetSimMission();

}  // namespace korvohost
