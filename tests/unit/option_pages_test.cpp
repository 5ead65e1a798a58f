// option_pages_test.cpp: the state mappings of the option pages' rotate
// buttons: on/off items, the colour depth and items whose value is the state.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "screens/option_pages.h"
#include "tests/expected/expected_text.h"

namespace {

// Each mapping, one line from values to states and one from states to
// values. Past the int range a state number has no state (below 0: the button
// keeps the state it shows).
TEST(OptionStateMappingTest, OnOffColourDepthAndStateNumbers) {
  const std::pair<const char*, EStateMapping> mappings[] = {
      {"on/off", kMapOnOff}, {"colour depth", kMapColorDepth}, {"state number", kMapStateNumber}};
  std::string out;
  for (const auto& [name, mapping] : mappings) {
    out += std::string(name) + ", value -> state:";
    for (uint32_t v : {0u, 1u, 2u, 7u, 16u, 24u, 32u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu})
      out += " " + std::to_string(v) + "->" + std::to_string(StateForValue(mapping, v));
    out += "\n" + std::string(name) + ", state -> value:";
    for (int state : {0, 1, 2, 3, 5, 100})
      out += " " + std::to_string(state) + "->" + std::to_string(ValueForState(mapping, state));
    out += "\n";
  }
  EXPECT_MATCHES_EXPECTED("unit/expected/option_state_mappings.expected", out);
}

}  // namespace
