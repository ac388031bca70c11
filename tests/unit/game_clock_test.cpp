// The game clock through the real tick: 1/60 s an update, standing still while
// the game is paused, and animators on it that follow updates, not the wall;
// the game speed's updates a tick.
#include <gtest/gtest.h>

#include <limits>

#include <tank/animation/clock.hpp>
#include <tank/core/settings.hpp>
#include <tank/input/controls.hpp>
#include <tank/objects/object.hpp>
#include <tank/shell/game_loop.hpp>

#include "tests/support/scripted_input.hpp"

using namespace tank;

namespace {

int updates = 0;
const game_callbacks counting{.update = [] { ++updates; }};

TEST(GameClock, AnimationsOnItFollowUpdatesAndStandStillWhileThePausedGameStillUpdates) {
  scripted_input_class input;
  const clock_function wall_clock = animation_clock;
  animation_clock = game_time;
  Object dot;
  const double started = game_time();
  dot.x_animators.animate({.from = 0, .to = 100, .duration = 1});

  for (int i = 0; i < 30; ++i) update_tick(counting);
  EXPECT_FLOAT_EQ(static_cast<float>(game_time() - started), 0.5f);
  EXPECT_FLOAT_EQ(dot.x, 50.0f) << "half way after 30 updates";

  game_paused = true;
  for (int i = 0; i < 30; ++i) update_tick(counting);
  EXPECT_EQ(updates, 60) << "the game's update runs while paused";
  EXPECT_FLOAT_EQ(static_cast<float>(game_time() - started), 0.5f);
  EXPECT_FLOAT_EQ(dot.x, 50.0f);

  game_paused = false;
  for (int i = 0; i < 30; ++i) update_tick(counting);
  EXPECT_EQ(dot.x, 100.0f);
  EXPECT_TRUE(dot.animations_finished());
  animation_clock = wall_clock;
}

int presses_seen = 0;
const game_callbacks counting_presses{.update = [] {
  ++updates;
  presses_seen += key_pressed(ALLEGRO_KEY_SPACE);
}};

TEST(GameSpeed, TwiceOrHalfTheUpdatesATickOnTheGameClockAndAPressSeenOnce) {
  scripted_input_class input;
  const clock_function wall_clock = animation_clock;
  animation_clock = game_time;
  key_pressed(ALLEGRO_KEY_SPACE);  // tracked from now on
  Object dot;
  dot.x_animators.animate({.from = 0, .to = 100, .duration = 1});
  updates = 0;

  game_speed = 2;
  input.set_down(ALLEGRO_KEY_SPACE, true);
  run_tick(counting_presses);
  input.set_down(ALLEGRO_KEY_SPACE, false);
  for (int tick = 1; tick < 15; ++tick) run_tick(counting_presses);
  EXPECT_EQ(updates, 30);
  EXPECT_EQ(presses_seen, 1);
  EXPECT_FLOAT_EQ(dot.x, 50.0f) << "a second's animation half way after 15 ticks";

  game_speed = 0.5;
  for (int tick = 0; tick < 60; ++tick) run_tick(counting_presses);
  EXPECT_EQ(updates, 60);
  EXPECT_EQ(dot.x, 100.0f);

  for (double speed : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
    game_speed = speed;
    run_tick(counting_presses);
  }
  EXPECT_EQ(updates, 60) << "no speed above 0, no update";
  game_speed = 1;
  animation_clock = wall_clock;
}

}  // namespace
