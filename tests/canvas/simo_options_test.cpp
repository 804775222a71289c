#include "canvas/simo_options.h"

#include <gtest/gtest.h>

namespace {

TEST(SimoOptions, SettingOneLineCountDragsTheOtherAcrossIt) {
  struct Case {
    bool setOptimum;  // else the maximum is set
    int optimum, maximum, lines;
    int expectedOptimum, expectedMaximum;
  };
  const Case cases[] = {
      {true, 32, 64, 48, 48, 64},   // below the maximum: the maximum stays
      {true, 32, 40, 40, 40, 40},   // equal: nothing to drag
      {true, 32, 40, 52, 52, 52},   // above the maximum: the maximum comes up
      {false, 32, 64, 40, 32, 40},  // above the optimum: the optimum stays
      {false, 48, 64, 36, 36, 36},  // below the optimum: the optimum comes down
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.setOptimum ? "optimum " : "maximum ") << c.lines);
    SimoOptions options{static_cast<std::uint16_t>(c.optimum), static_cast<std::uint16_t>(c.maximum), true};
    if (c.setOptimum) {
      SetSimoOptimum(options, static_cast<std::uint16_t>(c.lines));
    } else {
      SetSimoMaximum(options, static_cast<std::uint16_t>(c.lines));
    }
    EXPECT_EQ(options, (SimoOptions{static_cast<std::uint16_t>(c.expectedOptimum),
                                    static_cast<std::uint16_t>(c.expectedMaximum), true}));
  }
}

}  // namespace
