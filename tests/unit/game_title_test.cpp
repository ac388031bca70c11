// The first seconds of a freshly built world: the end texts never show and
// the title "TANK" pops in, stays and pops out. One scenario, one process.
#include <gtest/gtest.h>

#include "game/world.hpp"
#include "tests/support/headless_driver.hpp"

using namespace tank;

namespace {

bool fully_shown(const Object& object) {
  return object.opacity == 1.0f && object.scale_x == 1.0f && object.scale_y == 1.0f;
}

TEST(GameTitle, PopsInStaysAboutTwoSecondsAndGoesForGood) {
  headless_driver_class game;
  game.input.move_mouse(400, 100);

  game.tick();
  for (Object* text : {&win_text, &win_subtext, &fail_text, &fail_subtext}) {
    EXPECT_FALSE(text->is_visible()) << "hidden from the first animation step on";
  }
  EXPECT_TRUE(title_text.is_visible()) << "popping in from the first frame";
  EXPECT_LT(title_text.scale_x, 0.5f);
  EXPECT_EQ(title_text.x, 400.0f);
  EXPECT_EQ(title_text.y, 300.0f);

  game.run(30);  // past 0.4 s
  EXPECT_TRUE(fully_shown(title_text));
  game.run(84);  // 1.9 s
  EXPECT_TRUE(fully_shown(title_text)) << "still shown just before two seconds";
  game.run(12);  // 2.1 s
  EXPECT_TRUE(title_text.is_visible());
  EXPECT_LT(title_text.scale_x, 1.0f) << "popping out";
  game.run(30);  // 2.6 s
  EXPECT_FALSE(title_text.is_visible());
  EXPECT_EQ(title_text.animator_count(), 0);

  game.run(300);
  EXPECT_FALSE(title_text.is_visible()) << "gone for good";
  for (Object* text : {&win_text, &win_subtext, &fail_text, &fail_subtext}) EXPECT_FALSE(text->is_visible());
}

}  // namespace
