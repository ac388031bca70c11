// The rules, played through the real tick with a driven clock and scripted
// input. Each test starts from reset_game(): every enemy is parked far above
// the screen until a test places the ones it needs.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include <tank/input/controls.hpp>
#include <tank/resources/sample_player.hpp>

#include "app/config.hpp"
#include "game/rules.hpp"
#include "game/title.hpp"
#include "game/world.hpp"
#include "tests/support/headless_driver.hpp"

using namespace tank;

namespace {

struct GameRules : ::testing::Test {
  headless_driver_class& game = shared_driver();
  void SetUp() override { game.reset_game(); }

  // Down on one tick, up on the next.
  void click(int code) {
    game.input.set_down(code, true);
    game.tick();
    game.input.set_down(code, false);
    game.tick();
  }

  static int visible_bullets() {
    int count = 0;
    for (Object* bullet : {&bullet_1, &bullet_2, &bullet_3, &bullet_4}) count += bullet->is_visible();
    return count;
  }

  // Placed so that the next tick's fall brings it exactly to (x, y).
  static Object& enemy_at(int index, float x, float y) {
    Object& enemy = *enemies[index];
    enemy.set_position({x, y - fall_speed});
    return enemy;
  }

  // Ticks until the condition holds; the number of ticks, or -1 after `limit`.
  template <typename Condition>
  int ticks_until(Condition condition, int limit = 120) {
    for (int i = 1; i <= limit; ++i) {
      game.tick();
      if (condition()) return i;
    }
    return -1;
  }
};

// As F1 and F11: two presses that fell into one tick (the loop stalled)
// leave the sound as it was.
TEST_F(GameRules, MFollowsEveryPressAlsoSeveralWithinOneTick) {
  const bool was_muted = is_muted();
  game.input.presses.add(ALLEGRO_KEY_M, 2);
  click(ALLEGRO_KEY_M);
  EXPECT_EQ(is_muted(), was_muted);
  click(ALLEGRO_KEY_M);
  EXPECT_NE(is_muted(), was_muted);
  set_muted(was_muted);
}

TEST_F(GameRules, TanksAimAtTheMouseAndTurretsAndShieldsFollow) {
  game.input.move_mouse(100, 140);  // straight above the left tank
  game.tick();
  EXPECT_NEAR(left_tank.rotation, 0.0f, 1e-6f);
  EXPECT_FLOAT_EQ(right_tank.rotation, static_cast<float>(std::atan2(-300.0, -600.0) + std::numbers::pi / 2));
  EXPECT_EQ(left_turret.rotation, left_tank.rotation);
  EXPECT_EQ(right_turret.rotation, right_tank.rotation);
  EXPECT_EQ(left_turret.x, 100.0f);
  EXPECT_EQ(right_shield.x, 700.0f);
  EXPECT_EQ(right_shield.y, 440.0f);

  game.input.move_mouse(100, 440);  // exactly on the left tank: atan2(0, 0) is 0
  game.tick();
  EXPECT_EQ(left_tank.rotation, static_cast<float>(std::numbers::pi / 2));
}

TEST_F(GameRules, ShieldsPulseBetweenTheirTwoScales) {
  game.tick();
  EXPECT_EQ(left_shield.scale_x_animators.size(), 1) << "the first tick starts the swell";
  game.tick();
  EXPECT_GT(left_shield.scale_x, shield_scale_small);

  const int swell = ticks_until([] { return left_shield.scale_x == shield_scale_large; });
  EXPECT_NEAR(swell, 29, 1) << "half a second";
  EXPECT_EQ(left_shield.scale_x_animators.size(), 1) << "the way back starts on the tick the swell ends";
  EXPECT_EQ(right_shield.scale_y, shield_scale_large);
  game.tick();
  EXPECT_LT(left_shield.scale_x, shield_scale_large);
  const int shrink = ticks_until([] { return left_shield.scale_x == shield_scale_small; });
  EXPECT_NEAR(shrink, 29, 1);
}

TEST_F(GameRules, AClickFiresTheFirstFreeBulletAlongTheAim) {
  game.input.move_mouse(400, 140);  // 45 degrees up and right of the left tank
  game.tick();
  bullet_1.opacity_animators.set_value(1.0f);  // taken: the shot goes to the next one
  click(mouse_button_left);
  EXPECT_TRUE(bullet_2.is_visible());
  EXPECT_EQ(bullet_2.rotation, left_tank.rotation);
  EXPECT_FALSE(bullet_3.is_visible());

  game.run(20);
  EXPECT_EQ(bullet_2.opacity, 1.0f) << "fully opaque between 0.2 s and 0.6 s";
  EXPECT_GT(bullet_2.x, 100.0f);
  EXPECT_LT(bullet_2.y, 440.0f);

  game.run(40);  // past one second since the shot
  const float reach = 350.0f / std::sqrt(2.0f);
  EXPECT_NEAR(bullet_2.x, 100.0f + reach, 0.01f);
  EXPECT_NEAR(bullet_2.y, 440.0f - reach, 0.01f);
  EXPECT_FALSE(bullet_2.is_visible()) << "free again after its flight";
  EXPECT_EQ(bullet_2.animator_count(), 0);
}

TEST_F(GameRules, HoldingAButtonFiresOnceAndEachNewPressFiresAgain) {
  game.input.set_down(mouse_button_left, true);
  game.run(30);
  EXPECT_EQ(visible_bullets(), 1);
  game.input.set_down(mouse_button_left, false);
  game.tick();
  click(mouse_button_left);
  EXPECT_EQ(visible_bullets(), 2);
  click(mouse_button_right);
  EXPECT_EQ(visible_bullets(), 3);
}

TEST_F(GameRules, BothButtonsOnOneTickUseOneBulletWhichTheRightTankSends) {
  game.input.move_mouse(400, 140);
  game.input.set_down(mouse_button_left, true);
  game.input.set_down(mouse_button_right, true);
  game.tick();
  game.tick();
  EXPECT_EQ(visible_bullets(), 1);
  EXPECT_TRUE(bullet_1.is_visible());

  game.run(60);
  const float reach = 350.0f / std::sqrt(2.0f);
  EXPECT_NEAR(bullet_1.x, 700.0f - reach, 0.01f) << "the right tank's flight, started last, decides";
  EXPECT_NEAR(bullet_1.y, 440.0f - reach, 0.01f);
}

TEST_F(GameRules, FiveShotsInFlightAreFourAndTheFifthIsLost) {
  for (int shot = 0; shot < 5; ++shot) click(shot % 2 == 0 ? mouse_button_left : mouse_button_right);
  EXPECT_EQ(visible_bullets(), 4);

  game.run(60);
  EXPECT_EQ(visible_bullets(), 0) << "nothing was queued";
  click(mouse_button_left);
  EXPECT_EQ(visible_bullets(), 1);
}

TEST_F(GameRules, AHitRetiresTheBulletAndTheEnemyStopsCountingHalfASecondLater) {
  Object& enemy = *enemies[0];
  enemy.set_position({100.0f, 300.0f});
  game.input.move_mouse(100, 100);
  click(mouse_button_left);

  const int hit = ticks_until([&] { return enemy.opacity < 1.0f; });
  ASSERT_GT(hit, 0) << "the shot never reached the enemy";
  EXPECT_FALSE(bullet_1.is_visible());
  EXPECT_EQ(bullet_1.x, -300.0f);
  EXPECT_EQ(bullet_1.y, -300.0f);
  EXPECT_EQ(bullet_1.animator_count(), 0);
  EXPECT_GT(enemy.scale_x, 1.0f) << "swelling";
  EXPECT_EQ(enemies_left, 100);

  game.run(27);  // about 0.47 s after the hit
  EXPECT_EQ(enemies_left, 100) << "still counts while it fades";
  game.run(4);
  EXPECT_EQ(enemies_left, 99);
  EXPECT_FALSE(enemy.is_visible());
  EXPECT_LT(enemy.color.g, 1.0f) << "reddened on the way";
}

TEST_F(GameRules, EnemiesOffTheSidesOrAboveTheTopCannotBeHit) {
  // A visible bullet lies on each enemy; the tick's hit test decides.
  const float half_width = enemies[0]->scaled_width() / 2;
  const float half_height = enemies[0]->scaled_height() / 2;
  Object& off_left = enemy_at(0, half_width - 1.0f, 200.0f);
  Object& off_right = enemy_at(1, 800.0f - half_width + 1.0f, 200.0f);
  Object& above = enemy_at(2, 400.0f, -half_height - 1.0f);
  Object& inside = enemy_at(3, half_width, 300.0f);
  Object* bullets[] = {&bullet_1, &bullet_2, &bullet_3, &bullet_4};
  Object* targets[] = {&off_left, &off_right, &above, &inside};
  for (int i = 0; i < 4; ++i) {
    bullets[i]->opacity_animators.set_value(1.0f);
    bullets[i]->set_position({targets[i]->x, targets[i]->y + fall_speed});
  }
  game.tick();
  EXPECT_EQ(off_left.opacity_animators.size(), 0);
  EXPECT_EQ(off_right.opacity_animators.size(), 0);
  EXPECT_EQ(above.opacity_animators.size(), 0);
  EXPECT_EQ(inside.opacity_animators.size(), 1) << "wholly inside the width: hit";
  EXPECT_EQ(visible_bullets(), 3);
}

TEST_F(GameRules, AnEnemyPassingTheBottomCostsOneEnergyOnce) {
  Object& enemy = enemy_at(0, 400.0f, 600.0f);
  game.tick();
  EXPECT_EQ(energy, 5) << "at the edge, not past it";
  EXPECT_EQ(enemy.opacity_animators.size(), 0);
  game.tick();
  EXPECT_EQ(energy, 4);
  game.run(60);
  EXPECT_EQ(energy, 4) << "an exploding enemy costs nothing more";
  EXPECT_EQ(enemies_left, 99);
  EXPECT_EQ(game_state, game_playing);
}

TEST_F(GameRules, TheLastEnergyLosesAndASecondEnemyOnThatTickLeavesItAtZero) {
  energy = 1;
  enemy_at(0, 300.0f, 601.0f);
  enemy_at(1, 500.0f, 601.0f);
  game.tick();
  EXPECT_EQ(energy, 0);
  EXPECT_EQ(game_state, game_failed);
  EXPECT_EQ(enemies[1]->opacity_animators.size(), 1) << "the second one explodes as well";

  game.run(30);
  EXPECT_EQ(fail_text.opacity, 1.0f);
  EXPECT_EQ(fail_subtext.scale_x, 1.0f);
  EXPECT_FALSE(win_text.is_visible());
  EXPECT_FALSE(win_subtext.is_visible());
}

TEST_F(GameRules, ShootingEveryEnemyWins) {
  game.input.move_mouse(100, 100);
  for (const auto& enemy : enemies) {
    enemy->set_position({100.0f, 250.0f});
    click(mouse_button_left);
    ASSERT_GT(ticks_until([&] { return enemy->opacity < 1.0f; }), 0);
  }
  EXPECT_EQ(game_state, game_playing) << "the last one still counts while it fades";
  game.run(31);
  EXPECT_EQ(enemies_left, 0);
  EXPECT_EQ(game_state, game_won);
  game.run(20);
  EXPECT_EQ(win_text.opacity, 1.0f);
  EXPECT_EQ(win_subtext.scale_y, 1.0f);
  EXPECT_FALSE(fail_text.is_visible());
  EXPECT_EQ(energy, 5);
}

TEST_F(GameRules, AfterTheEndNothingFallsOrHitsButAimingAndShotsGoOn) {
  lose_game();
  const float speed = fall_speed;
  Object& enemy = *enemies[0];
  enemy.set_position({100.0f, 300.0f});
  Object& bottom = enemy_at(1, 400.0f, 650.0f);
  game.input.move_mouse(100, 100);
  click(mouse_button_left);
  game.run(30);
  EXPECT_EQ(enemy.y, 300.0f);
  EXPECT_EQ(enemy.opacity, 1.0f) << "bullets no longer hit";
  EXPECT_EQ(bottom.opacity_animators.size(), 0);
  EXPECT_EQ(energy, 5);
  EXPECT_EQ(fall_speed, speed);
  EXPECT_TRUE(bullet_1.is_visible());
  EXPECT_LT(bullet_1.y, 300.0f) << "the shot flew past the enemy";

  game.input.move_mouse(700, 100);
  game.tick();
  EXPECT_NEAR(right_tank.rotation, 0.0f, 1e-6f);
  win_game();
  EXPECT_EQ(game_state, game_failed) << "the first ending decides";
}

TEST_F(GameRules, AnEndingHidesTheTitleAtOnceAndForGood) {
  show_title();
  game.run(40);
  ASSERT_TRUE(title_text.is_visible());
  energy = 1;
  enemy_at(0, 400.0f, 601.0f);
  game.tick();
  EXPECT_EQ(game_state, game_failed);
  EXPECT_FALSE(title_text.is_visible()) << "hidden before this tick's frame is drawn";
  game.run(180);
  EXPECT_FALSE(title_text.is_visible()) << "its pending pop-out must not bring it back";
}

}  // namespace
