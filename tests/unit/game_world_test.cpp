// The world as setup_world leaves it, before the first tick. Nothing here
// ticks, so every test sees the freshly built world.
#include <gtest/gtest.h>

#include <cstdlib>

#include <tank/math/random.hpp>
#include <tank/objects/object_registry.hpp>

#include "game/world.hpp"
#include "tests/support/headless_driver.hpp"

using namespace tank;

namespace {

const unsigned int seed = 20261207;

struct GameWorld : ::testing::Test {
  void SetUp() override { shared_driver(seed); }
};

TEST_F(GameWorld, RegistersFifteenNamedObjectsAndAHundredEnemies) {
  EXPECT_EQ(enemies.size(), 100u);
  EXPECT_EQ(object_registry.count(), 115);
  for (const auto& enemy : enemies) EXPECT_NE(enemy->bitmap, nullptr);
}

TEST_F(GameWorld, EnemiesTakeXThenYFromTheGenerator) {
  std::srand(seed);
  for (const auto& enemy : enemies) {
    const int x = random_int(100, 700);
    const int y = random_int(-7500, 0);
    EXPECT_EQ(enemy->x, static_cast<float>(x));
    EXPECT_EQ(enemy->y, static_cast<float>(y));
  }
}

TEST_F(GameWorld, AllFourBulletsStartFreeAndParked) {
  for (Object* bullet : {&bullet_1, &bullet_2, &bullet_3, &bullet_4}) {
    EXPECT_FALSE(bullet->is_visible());
    EXPECT_EQ(bullet->x, -300.0f);
    EXPECT_EQ(bullet->y, -300.0f);
    EXPECT_NE(bullet->bitmap, nullptr);
  }
}

TEST_F(GameWorld, EndTextsAreBroughtForwardOneAfterAnother) {
  EXPECT_FLOAT_EQ(win_text.depth, 0.1f);
  EXPECT_FLOAT_EQ(win_subtext.depth, 4.1f);
  EXPECT_FLOAT_EQ(fail_text.depth, 4.2f);
  EXPECT_FLOAT_EQ(fail_subtext.depth, 4.3f);
  EXPECT_LT(title_text.depth, win_text.depth) << "the title must never cover an end text";
  for (Object* text : {&win_text, &win_subtext, &fail_text, &fail_subtext}) EXPECT_NE(text->bitmap, nullptr);
}

}  // namespace
