#include <gtest/gtest.h>

#include <limits>

#include <tank/animation/animator.hpp>

#include "tests/support/test_clock.hpp"

using namespace tank;

namespace {

// Fake bitmaps: the animator only copies the pointers.
ALLEGRO_BITMAP* const first_bitmap = reinterpret_cast<ALLEGRO_BITMAP*>(0x10);
ALLEGRO_BITMAP* const second_bitmap = reinterpret_cast<ALLEGRO_BITMAP*>(0x20);

// A float animator on `x`, started at clock time 0.
struct AnimatorTest : testing::Test {
  test_clock_class clock;
  float x = 0.0f;
  animator_class<float> animator;

  void start(float from, float to, double duration, double delay, curve_kind curve) {
    animator.set_target(&x).start(from, to, duration, delay, curve);
  }
  // Sets the clock, then updates.
  template <typename T>
  bool update_at(animator_class<T>& some_animator, double seconds) {
    clock.set(seconds);
    return some_animator.update();
  }
  bool update_at(double seconds) { return update_at(animator, seconds); }

  // A stepped property shows its end value while overshoot's eased progress
  // is at least 1: from 0.3 up to and including 0.6, then again at the end.
  template <typename T>
  void expect_overshoot_steps(T start, T end) {
    clock.set(0.0);
    T value = start;
    animator_class<T> stepped;
    stepped.set_target(&value).start(start, end, 1.0, 0.0, curve_overshoot);
    const struct {
      double time;
      bool shows_end;
    } steps[] = {{0.1, false}, {0.29, false}, {0.3, true},  {0.45, true},
                 {0.6, true},  {0.61, false}, {0.99, false}};
    for (const auto& step : steps) {
      EXPECT_TRUE(update_at(stepped, step.time)) << step.time;
      EXPECT_EQ(value, step.shows_end ? end : start) << step.time;
    }
    EXPECT_FALSE(update_at(stepped, 1.0));
    EXPECT_EQ(value, end);
  }
};

TEST_F(AnimatorTest, LinearFloatProgressAndCompletion) {
  x = -1.0f;
  clock.set(10.0);
  start(0.0f, 100.0f, 2.0, 0.0, curve_linear);
  EXPECT_EQ(x, -1.0f);  // start does not write

  EXPECT_TRUE(update_at(10.5));
  EXPECT_EQ(x, 25.0f);
  EXPECT_EQ(animator.progress, 0.25f);

  EXPECT_FALSE(update_at(12.0));
  EXPECT_EQ(x, 100.0f);
  EXPECT_EQ(animator.state, animator_finished);
  EXPECT_FALSE(animator.update());
}

TEST_F(AnimatorTest, DelayLeavesTheTargetAlone) {
  x = 42.0f;
  start(0.0f, 100.0f, 1.0, 1.0, curve_linear);
  for (double t : {0.0, 0.5, 0.999}) {
    EXPECT_TRUE(update_at(t));
    EXPECT_EQ(x, 42.0f) << t;
  }
  EXPECT_TRUE(update_at(1.01));
  EXPECT_NEAR(x, 1.0f, 1e-3f);
}

TEST_F(AnimatorTest, ZeroNegativeOrNaNDurationCompletesAtOnceAndANaNDelayIsNone) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // Elapsed 0 with duration 0 would be 0 / 0: still the end value, never a NaN.
  for (double duration : {0.0, -2.0, nan}) {
    for (double elapsed : {0.0, 0.001}) {
      x = 0.0f;
      clock.set(5.0);
      start(1.0f, 9.0f, duration, 0.0, curve_linear);
      EXPECT_FALSE(update_at(5.0 + elapsed)) << duration << " " << elapsed;
      EXPECT_EQ(x, 9.0f) << duration << " " << elapsed;
    }
  }
  clock.set(5.0);
  start(1.0f, 9.0f, 1.0, nan, curve_linear);
  EXPECT_TRUE(update_at(5.5));
  EXPECT_EQ(x, 5.0f);
  EXPECT_FALSE(update_at(6.0));
  EXPECT_EQ(x, 9.0f);
}

TEST_F(AnimatorTest, EqualStartAndEndWritesThatValue) {
  start(6.0f, 6.0f, 1.0, 0.0, curve_overshoot);
  EXPECT_TRUE(update_at(0.45));
  EXPECT_EQ(x, 6.0f);
  EXPECT_FALSE(update_at(1.0));
  EXPECT_EQ(x, 6.0f);

  // Mixing a colour with itself can round off (3/997 at 0.1 does); the
  // unchanged colour is written as it is.
  const float channel = 3.0f / 997.0f;
  const ALLEGRO_COLOR same{channel, channel, channel, channel};
  ALLEGRO_COLOR color{0, 0, 0, 0};
  animator_class<ALLEGRO_COLOR> colors;
  clock.set(0.0);
  colors.set_target(&color).start(same, same, 1.0, 0.0, curve_linear);
  EXPECT_TRUE(update_at(colors, 0.1));
  EXPECT_TRUE(colors_equal(color, same));
}

TEST_F(AnimatorTest, OvershootSwingsPastAndEndsExactly) {
  start(0.0f, 10.0f, 1.0, 0.0, curve_overshoot);
  EXPECT_TRUE(update_at(0.45));
  EXPECT_NEAR(x, 12.0f, 1e-4f);
  EXPECT_TRUE(update_at(0.8));
  EXPECT_LT(x, 10.0f);
  EXPECT_FALSE(update_at(1.0));
  EXPECT_EQ(x, 10.0f);
}

TEST_F(AnimatorTest, RepeatsRunAgainAndEndExactlyWhereTheLastRunEnds) {
  animator.set_target(&x).start({.from = 0.0f, .to = 100.0f, .duration = 1.0, .repeats = 2});
  EXPECT_TRUE(update_at(1.25));
  EXPECT_EQ(x, 25.0f);  // the second run, from the start again
  EXPECT_TRUE(update_at(2.999));
  EXPECT_FALSE(update_at(3.0));
  EXPECT_EQ(x, 100.0f);

  clock.set(0.0);
  animator.start({.from = 0.0f, .to = 100.0f, .curve = curve_quad_out, .repeats = 1, .back_and_forth = true});
  EXPECT_TRUE(update_at(0.5));
  EXPECT_EQ(x, 75.0f);
  EXPECT_TRUE(update_at(1.5));  // the same point, on the way back
  EXPECT_EQ(x, 75.0f);
  EXPECT_FALSE(update_at(2.0));
  EXPECT_EQ(x, 0.0f);  // an odd number of repeats ends where it began
}

TEST_F(AnimatorTest, BoolStepsOnlyAtCompletionWhenLinear) {
  bool flag = false;
  animator_class<bool> flags;
  flags.set_target(&flag).start(false, true, 1.0, 0.0, curve_linear);
  for (double t : {0.1, 0.5, 0.999}) {
    EXPECT_TRUE(update_at(flags, t));
    EXPECT_FALSE(flag) << t;
  }
  EXPECT_FALSE(update_at(flags, 1.0));
  EXPECT_TRUE(flag);
}

TEST_F(AnimatorTest, BoolAndBitmapFollowTheOvershootPattern) {
  expect_overshoot_steps(false, true);
  expect_overshoot_steps(first_bitmap, second_bitmap);
}

TEST_F(AnimatorTest, ColourMixesEveryChannel) {
  ALLEGRO_COLOR color{0, 0, 0, 0};
  animator_class<ALLEGRO_COLOR> colors;
  colors.set_target(&color).start(ALLEGRO_COLOR{1, 0, 0, 1}, ALLEGRO_COLOR{0, 1, 0.5f, 0}, 2.0, 0.0,
                                  curve_linear);
  EXPECT_TRUE(update_at(colors, 0.5));
  EXPECT_FLOAT_EQ(color.r, 0.75f);
  EXPECT_FLOAT_EQ(color.g, 0.25f);
  EXPECT_FLOAT_EQ(color.b, 0.125f);
  EXPECT_FLOAT_EQ(color.a, 0.75f);
  EXPECT_FALSE(update_at(colors, 2.0));
  EXPECT_TRUE(colors_equal(color, ALLEGRO_COLOR{0, 1, 0.5f, 0}));
}

TEST_F(AnimatorTest, PauseAndResumeCutOutThePausedTime) {
  start(0.0f, 100.0f, 1.0, 0.0, curve_linear);
  update_at(0.5);
  EXPECT_EQ(x, 50.0f);

  animator.pause(clock.now());
  EXPECT_TRUE(update_at(2.0));
  EXPECT_EQ(x, 50.0f);  // paused: nothing written

  clock.set(3.5);
  animator.resume(clock.now());
  EXPECT_TRUE(animator.update());
  EXPECT_EQ(x, 50.0f);  // no jump at the resume
  EXPECT_TRUE(update_at(3.75));
  EXPECT_EQ(x, 75.0f);
  EXPECT_FALSE(update_at(4.0));
  EXPECT_EQ(x, 100.0f);
}

TEST_F(AnimatorTest, SecondPauseKeepsTheFirstPauseTime) {
  start(0.0f, 100.0f, 1.0, 0.0, curve_linear);
  animator.pause(0.25);
  animator.pause(1.0);
  animator.resume(2.0);
  EXPECT_EQ(animator.paused_total, 1.75);
  animator.resume(5.0);  // not paused: nothing changes
  EXPECT_EQ(animator.paused_total, 1.75);
  EXPECT_TRUE(update_at(2.0));
  EXPECT_EQ(x, 25.0f);
}

TEST_F(AnimatorTest, StartWhilePausedChangesNothing) {
  start(0.0f, 100.0f, 1.0, 0.0, curve_linear);
  animator.pause(0.0);
  clock.set(0.5);
  start(500.0f, 600.0f, 4.0, 1.0, curve_overshoot);
  EXPECT_EQ(animator.start_value, 0.0f);
  EXPECT_EQ(animator.end_value, 100.0f);
  EXPECT_EQ(animator.duration, 1.0);
  EXPECT_EQ(animator.start_time, 0.0);
  EXPECT_EQ(animator.curve, curve_linear);
  EXPECT_TRUE(animator.paused);
}

TEST_F(AnimatorTest, NoTargetAsksForRemovalWithoutWriting) {
  animator.start(0.0f, 1.0f, 1.0, 0.0, curve_linear);
  EXPECT_FALSE(update_at(0.5));
}

}  // namespace
