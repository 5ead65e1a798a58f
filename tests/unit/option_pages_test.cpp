// option_pages_test.cpp: the state mappings of the option pages' rotate
// buttons: on/off items, the colour depth and items whose value is the state.
#include <gtest/gtest.h>

#include <cstdint>

#include "screens/option_pages.h"

namespace {

TEST(OptionStateMappingTest, OnOffColourDepthAndStateNumbers) {
  EXPECT_EQ(StateForValue(kMapOnOff, 1), 0);
  EXPECT_EQ(StateForValue(kMapOnOff, 7), 0);            // any value but 0 is on
  EXPECT_EQ(StateForValue(kMapOnOff, 0xFFFFFFFFu), 0);
  EXPECT_EQ(StateForValue(kMapOnOff, 0), 1);
  EXPECT_EQ(ValueForState(kMapOnOff, 0), 1u);
  EXPECT_EQ(ValueForState(kMapOnOff, 1), 0u);
  EXPECT_EQ(ValueForState(kMapOnOff, 2), 0u);           // any state but the first is off

  // The colour depth is 16 on the first state and 32 otherwise.
  EXPECT_EQ(StateForValue(kMapColorDepth, 16), 0);
  EXPECT_EQ(StateForValue(kMapColorDepth, 32), 1);
  EXPECT_EQ(StateForValue(kMapColorDepth, 24), 1);
  EXPECT_EQ(StateForValue(kMapColorDepth, 0), 1);
  EXPECT_EQ(ValueForState(kMapColorDepth, 0), 16u);
  EXPECT_EQ(ValueForState(kMapColorDepth, 1), 32u);
  EXPECT_EQ(ValueForState(kMapColorDepth, 5), 32u);

  // State numbers both ways.
  for (int state : {0, 1, 2, 3, 100}) {
    EXPECT_EQ(StateForValue(kMapStateNumber, uint32_t(state)), state);
    EXPECT_EQ(ValueForState(kMapStateNumber, state), uint32_t(state));
  }
  // Past the int range there is no state (the button keeps the one it shows).
  EXPECT_LT(StateForValue(kMapStateNumber, 0x80000000u), 0);
  EXPECT_LT(StateForValue(kMapStateNumber, 0xFFFFFFFFu), 0);
  EXPECT_EQ(StateForValue(kMapStateNumber, 0x7FFFFFFFu), 0x7FFFFFFF);
}

}  // namespace
