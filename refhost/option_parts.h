// option_parts.h: the option-part descriptors the reference host hands out
// through OPT_GetDescHead, set by tools and tests.
#pragma once
#include <vector>

#include "refhost/game_records.h"
#include "refhost/korvohost.h"

namespace korvohost {

// Replaces the descriptor list (in this order).
KORVOHOST_API void SetOptionParts(const std::vector<SOptionPartRecord>& parts);

}  // namespace korvohost
