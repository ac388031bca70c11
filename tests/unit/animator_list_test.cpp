#include <gtest/gtest.h>

#include <type_traits>

#include <tank/animation/animator_list.hpp>

#include "tests/support/test_clock.hpp"

using namespace tank;

namespace {

static_assert(!std::is_copy_constructible_v<animator_list_class<float>>);
static_assert(!std::is_copy_assignable_v<animator_list_class<float>>);

struct AnimatorListTest : testing::Test {
  test_clock_class clock;
  float x = 0.0f;
  animator_list_class<float> list;

  void SetUp() override { list.bind(&x); }
  void update_at(double seconds) {
    clock.set(seconds);
    list.update();
  }
};

TEST_F(AnimatorListTest, MiddleAnimatorCompletingLeavesTheOthersInOrder) {
  animator_class<float>* first = list.animate(0.0f, 10.0f, 0.0, 2.0, curve_linear);
  list.animate(0.0f, 20.0f, 0.0, 1.0, curve_linear);
  animator_class<float>* last = list.animate(0.0f, 30.0f, 0.0, 3.0, curve_linear);
  EXPECT_EQ(list.size(), 3);

  update_at(1.0);
  ASSERT_EQ(list.size(), 2);
  EXPECT_EQ(list.animators[0].get(), first);
  EXPECT_EQ(list.animators[1].get(), last);
  // All three ran once: the first reached half way, the last a third.
  EXPECT_EQ(first->progress, 0.5f);
  EXPECT_EQ(last->progress, 1.0f / 3.0f);
  EXPECT_EQ(x, 10.0f);  // the last one wrote last
}

TEST_F(AnimatorListTest, LaterAnimatorWinsAndTheLastEndValueStays) {
  list.animate(0.0f, 100.0f, 0.0, 1.0, curve_linear);
  list.animate(500.0f, 600.0f, 0.0, 1.0, curve_linear);
  for (double t : {0.25, 0.5, 0.75}) {
    update_at(t);
    EXPECT_EQ(x, 500.0f + 100.0f * static_cast<float>(t)) << t;
  }
  update_at(1.0);
  EXPECT_EQ(x, 600.0f);
  EXPECT_EQ(list.size(), 0);
}

TEST_F(AnimatorListTest, DelayedAnimatorIsCountedButLeavesThePropertyAlone) {
  x = 7.0f;
  list.animate(0.0f, 100.0f, 2.0, 1.0, curve_linear);
  for (double t : {0.0, 1.0, 1.99}) {
    update_at(t);
    EXPECT_EQ(x, 7.0f) << t;
    EXPECT_EQ(list.size(), 1) << t;
  }
  update_at(2.5);
  EXPECT_EQ(x, 50.0f);
}

TEST_F(AnimatorListTest, ARepeatingTweenIsUnfinishedUntilItsLastRunEnds) {
  // A pulse: out and back in a second, for ever.
  list.animate({.from = 1.0f, .to = 1.25f, .duration = 0.5, .curve = curve_quad_out,
                .repeats = repeat_forever, .back_and_forth = true});
  update_at(3600.25);
  EXPECT_FALSE(list.finished());
  EXPECT_EQ(x, 1.1875f);
}

TEST_F(AnimatorListTest, ClearKeepsTheCurrentValue) {
  list.animate(0.0f, 100.0f, 0.0, 1.0, curve_linear);
  list.animate(0.0f, 100.0f, 0.5, 1.0, curve_linear);
  update_at(0.25);
  list.clear();
  EXPECT_EQ(list.size(), 0);
  update_at(5.0);
  EXPECT_EQ(x, 25.0f);
}

TEST_F(AnimatorListTest, SetAndAddValueWriteAtOnceUntilTheNextUpdate) {
  list.animate(0.0f, 100.0f, 0.0, 1.0, curve_linear);
  update_at(0.5);
  list.set_value(3.0f);
  EXPECT_EQ(x, 3.0f);
  list.add_value(2.0f);
  EXPECT_EQ(x, 5.0f);
  update_at(0.75);
  EXPECT_EQ(x, 75.0f);
}

TEST_F(AnimatorListTest, UnboundListWritesNothingAndDropsItsAnimators) {
  animator_list_class<float> unbound;
  unbound.set_value(1.0f);
  unbound.add_value(1.0f);
  EXPECT_EQ(unbound.animate(0.0f, 1.0f, 0.0, 1.0, curve_linear)->target, nullptr);
  unbound.update();
  EXPECT_EQ(unbound.size(), 0);
}

TEST_F(AnimatorListTest, BindingAgainKeepsExistingAnimatorsOnTheirProperty) {
  float other = 0.0f;
  list.animate(0.0f, 100.0f, 0.0, 1.0, curve_linear);
  list.bind(&other);
  list.animate(0.0f, 10.0f, 0.0, 1.0, curve_linear);
  update_at(0.5);
  EXPECT_EQ(x, 50.0f);
  EXPECT_EQ(other, 5.0f);
}

TEST_F(AnimatorListTest, PauseAllAndResumeAllUseTheClock) {
  list.animate(0.0f, 100.0f, 0.0, 1.0, curve_linear);
  list.animate(0.0f, 100.0f, 0.0, 2.0, curve_linear);
  clock.set(0.5);
  list.pause_all();
  update_at(3.0);
  EXPECT_EQ(x, 0.0f);
  list.resume_all();
  update_at(3.5);
  EXPECT_EQ(list.size(), 1);
  EXPECT_EQ(x, 50.0f);  // the second one, 1 s into its 2 s
}

}  // namespace
