// sim_match.h: the host's own side of the simulated match (host_match.h has
// what the network stand-in drives): the frame clock's steps, the events the
// game shows, and ending a script's match.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "host/host_match.h"
#include "refhost/korvohost.h"

namespace korvohost {

KORVOHOST_API void EndSimMatchOf(const std::string& script);
// Runs the steps due up to frame tick `now`; SetTick calls it.
KORVOHOST_API void StepSimMatch(uint32_t now);
KORVOHOST_API std::vector<SSimMatchEvent> TakeSimMatchEvents();

// Internal: the game state was emptied under the match (Reset).
void ForgetSimMatch();

}  // namespace korvohost
