#include <gtest/gtest.h>

#include <tank/shell/frame_layout.hpp>

using namespace tank;

namespace {

void expect_layout(const frame_layout& got, int left, int top, int width, int height) {
  EXPECT_EQ(got.left, left);
  EXPECT_EQ(got.top, top);
  EXPECT_EQ(got.width, width);
  EXPECT_EQ(got.height, height);
}

TEST(FrameLayout, LargestFitWithItsAspectCentredBetweenBars) {
  expect_layout(fit_frame(800, 600, 800, 600), 0, 0, 800, 600);
  EXPECT_TRUE(fit_frame(800, 600, 800, 600).is_unscaled(800, 600));
  expect_layout(fit_frame(800, 600, 1600, 1000), 133, 0, 1333, 1000);  // bars left and right
  expect_layout(fit_frame(800, 600, 1000, 1600), 0, 425, 1000, 750);   // bars above and below
  expect_layout(fit_frame(800, 600, 400, 300), 0, 0, 400, 300);
  expect_layout(fit_frame(800, 600, 1, 1), 0, 0, 1, 1);
  // A minimised window has no area to draw in.
  expect_layout(fit_frame(800, 600, 0, 0), 0, 0, 0, 0);
}

}  // namespace
