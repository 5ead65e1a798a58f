// host_script.h: the scripts the host runs on "s_exe FILE" (briefings, the
// credits, mission scripts): text lines for the briefing list with their
// colours and pacing.
//
//   # comment                  blank lines and comments are skipped
//   color 0xAARRGGBB           colour of the text lines after it (0xFFFFFFFF)
//   pace MS                    time from one text line to the next (400 ms)
//   wait MS                    a pause before the next line
//   > TEXT                     a text line: the bytes after "> " ('>' alone: empty)
//   mission [enemies=N] [map=FILE] [seed=N] [time=MIN]
//                              starts the simulated mission (sim_mission.h);
//                              time: its time limit in minutes (0: none)
//   match [rule=NAME] [bots=N] [frags=N] [time=MIN] [map=FILE] [seed=N]
//                              asks for a simulated match (sim_match.h); the
//                              rule by name ("deathmatch", "team-death-match")
//                              or index; deathmatch, 5 bots, 10 frags, 5 minutes
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "refhost/korvohost.h"
#include "refhost/sim_match.h"

namespace korvohost {

struct SScriptStep {
  enum class EKind { kText, kColor, kPace, kWait, kMission, kMatch };
  EKind kind = EKind::kText;
  uint32_t number = 0;       // colour, pace or wait in milliseconds; mission: enemies
  uint32_t seed = 1;         // mission: where the enemies start
  int timeLimitMin = 0;      // mission: its time limit in minutes, 0 none
  std::string text;          // text line; mission: map file ("" none)
  SSimMatchRequest match;    // match: what it asks for
};

constexpr uint32_t kScriptDefaultEnemies = 3;

constexpr uint32_t kScriptDefaultColor = 0xFFFFFFFF;
constexpr uint32_t kScriptDefaultPace = 400;

// Parses a whole script; every bad line adds "LABEL:N: WHY" to *errors. False
// when there was any (the script is then not run).
KORVOHOST_API bool ParseHostScript(const std::string& bytes, const std::string& label,
                                   std::vector<SScriptStep>* steps, std::vector<std::string>* errors);

}  // namespace korvohost
