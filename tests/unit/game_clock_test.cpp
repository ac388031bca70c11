// The game clock through the real tick: 1/60 s an update, still while paused,
// its animators following updates; and the game speed's updates a tick.
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
int presses_seen = 0;
const game_callbacks counting{.update = [] {
  ++updates;
  presses_seen += key_pressed(ALLEGRO_KEY_SPACE);
}};

struct GameClock : testing::Test {
  scripted_input_class input;
  clock_function wall_clock = animation_clock;
  Object dot;

  void SetUp() override {
    animation_clock = game_time;
    key_pressed(ALLEGRO_KEY_SPACE);  // tracked from now on
    dot.x_animators.animate({.from = 0, .to = 100, .duration = 1});
    updates = presses_seen = 0;
  }
  void TearDown() override {
    animation_clock = wall_clock;
    game_paused = false;
    game_speed = 1;
  }
  void ticks(int count) {
    for (int i = 0; i < count; ++i) run_tick(counting);
  }
};

TEST_F(GameClock, AnimationsFollowUpdatesAndStandStillWhileThePausedGameStillUpdates) {
  ticks(30);
  EXPECT_FLOAT_EQ(dot.x, 50.0f) << "half way after 30 updates";
  game_paused = true;
  ticks(30);
  EXPECT_EQ(updates, 60) << "the game's update runs while paused";
  EXPECT_FLOAT_EQ(dot.x, 50.0f);
  game_paused = false;
  ticks(30);
  EXPECT_TRUE(dot.animations_finished());
}

TEST_F(GameClock, TwiceOrHalfTheUpdatesATickAndAPressSeenOnce) {
  game_speed = 2;
  input.set_down(ALLEGRO_KEY_SPACE, true);
  ticks(15);
  EXPECT_EQ(updates, 30);
  EXPECT_EQ(presses_seen, 1);
  EXPECT_FLOAT_EQ(dot.x, 50.0f) << "a second's animation half way after 15 ticks";
  game_speed = 0.5;
  ticks(60);
  EXPECT_EQ(updates, 60);
  for (double speed : {0.0, -1.0, std::numeric_limits<double>::quiet_NaN()}) {
    game_speed = speed;
    ticks(2);
  }
  EXPECT_EQ(updates, 60) << "no speed above 0, no update";
}

}  // namespace
