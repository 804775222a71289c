// Where a window goes on the screen.
#include "platform/system/place.h"

#include <gtest/gtest.h>

namespace {

TEST(PlaceOnScreen, CentresAndKeepsTheTopLeftCornerOnAScreenTooSmall) {
  struct Case {
    QRect available;
    QSize frame;
    QPoint topLeft;
  };
  const Case cases[] = {
      {{0, 0, 1280, 1000}, {990, 600}, {145, 200}},    // centred
      {{0, 0, 800, 570}, {990, 600}, {0, 0}},          // larger both ways
      {{0, 0, 1024, 570}, {990, 600}, {17, 0}},        // too high only: centred sideways
      {{0, 0, 800, 1000}, {990, 600}, {0, 200}},       // too wide only
      {{48, 24, 800, 560}, {990, 600}, {48, 24}},      // a panel at the left and the top
      {{1280, 0, 1024, 768}, {990, 600}, {1297, 84}},  // a second screen to the right
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceOnScreen(c.available, c.frame), c.topLeft)
        << c.available.x() << "," << c.available.y() << " " << c.available.width() << "x" << c.available.height();
}

}  // namespace
