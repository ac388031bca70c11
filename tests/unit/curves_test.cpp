#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <tank/animation/curves.hpp>

using namespace tank;

namespace {

TEST(CurvesTest, EveryKindStartsAtZeroAndEndsAtOne) {
  for (int kind = curve_linear; kind <= curve_overshoot; ++kind) {
    EXPECT_EQ(apply_curve(0.0f, static_cast<curve_kind>(kind)), 0.0f) << "kind " << kind;
    EXPECT_EQ(apply_curve(1.0f, static_cast<curve_kind>(kind)), 1.0f) << "kind " << kind;
  }
}

TEST(CurvesTest, ValuesAtHalfAndQuarter) {
  EXPECT_EQ(apply_curve(0.5f, curve_quad_in_out), 0.5f);
  EXPECT_EQ(apply_curve(0.5f, curve_quad_out_in), 0.5f);
  EXPECT_EQ(apply_curve(0.25f, curve_quad_in_out), 0.125f);
  EXPECT_EQ(apply_curve(0.25f, curve_quad_out_in), 0.375f);
  EXPECT_EQ(apply_curve(0.5f, curve_quad_out), 0.75f);
  EXPECT_EQ(apply_curve(0.5f, curve_quad_in), 0.25f);
  EXPECT_EQ(apply_curve(0.5f, curve_quad_out_twice), 0.9375f);
  EXPECT_EQ(apply_curve(0.5f, curve_cubic_in), 0.125f);
  // The "twice" kinds feed the curve its own result: 0.25 -> 0.125 -> 0.03125.
  EXPECT_EQ(apply_curve(0.25f, curve_quad_in_out_twice), 0.03125f);
  EXPECT_EQ(apply_curve(0.25f, curve_quad_out_in_twice), apply_curve(0.375f, curve_quad_out_in));
}

TEST(CurvesTest, OvershootMeetsAtItsJoints) {
  EXPECT_FLOAT_EQ(apply_curve(0.15f, curve_overshoot), 0.25f);
  EXPECT_FLOAT_EQ(apply_curve(0.3f, curve_overshoot), 1.0f);
  EXPECT_FLOAT_EQ(apply_curve(0.45f, curve_overshoot), 1.2f);
  EXPECT_FLOAT_EQ(apply_curve(0.6f, curve_overshoot), 1.0f);
  EXPECT_FLOAT_EQ(apply_curve(0.75f, curve_overshoot), 0.92f);
  // Just either side of each joint the pieces agree: no jumps.
  for (float joint : {0.3f, 0.45f, 0.6f, 0.75f}) {
    const float before = apply_curve(std::nextafter(joint, 0.0f), curve_overshoot);
    const float after = apply_curve(joint, curve_overshoot);
    EXPECT_NEAR(before, after, 1e-5f) << "joint " << joint;
  }
}

TEST(CurvesTest, UnknownKindsAreLinear) {
  for (float p : {0.1f, 0.37f, 0.8f}) {
    EXPECT_EQ(apply_curve(p, static_cast<curve_kind>(10)), p);
    EXPECT_EQ(apply_curve(p, static_cast<curve_kind>(-1)), p);
  }
}

TEST(CurvesTest, NanProgress) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(quad_in_out(0.0f, 1.0f, nan), 0.0f);
  EXPECT_EQ(quad_out_in(0.0f, 1.0f, nan), 0.0f);
  EXPECT_TRUE(std::isnan(overshoot(0.0f, 1.0f, nan)));
}


TEST(CurvesTest, StepValueSwitchesAtOne) {
  EXPECT_FALSE(step_value(false, true, 0.999f));
  EXPECT_TRUE(step_value(false, true, 1.0f));
  EXPECT_TRUE(step_value(false, true, 1.2f));
  EXPECT_FALSE(step_value(false, true, std::numeric_limits<float>::quiet_NaN()));

  auto* first = reinterpret_cast<ALLEGRO_BITMAP*>(0x10);
  auto* second = reinterpret_cast<ALLEGRO_BITMAP*>(0x20);
  EXPECT_EQ(step_value(first, second, 0.999f), first);
  EXPECT_EQ(step_value(first, second, 1.0f), second);
  EXPECT_EQ(step_value(first, second, 1.2f), second);
}

}  // namespace
