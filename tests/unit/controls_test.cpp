#include <gtest/gtest.h>

#include <tank/input/controls.hpp>
#include <tank/input/input_sample.hpp>
#include <tank/input/press_counts.hpp>

#include "tests/support/scripted_input.hpp"

using namespace tank;

namespace {

struct ControlsTest : ::testing::Test {
  scripted_input_class input;
  void SetUp() override { controls.buttons.clear(); }
  void TearDown() override { controls.buttons.clear(); }

  // One tick: set the device state, then sample it.
  void tick(int code, bool down) {
    input.set_down(code, down);
    update_controls();
  }
};

TEST_F(ControlsTest, FirstQueryAnswersFalseAndTracksFromTheNextUpdate) {
  input.set_down(ALLEGRO_KEY_F1, true);
  update_controls();
  EXPECT_FALSE(key_pressed(ALLEGRO_KEY_F1)) << "first query never reports";
  EXPECT_FALSE(key_held(ALLEGRO_KEY_F1));
  update_controls();
  EXPECT_TRUE(key_pressed(ALLEGRO_KEY_F1)) << "already down when first asked: pressed at the next update";
  EXPECT_TRUE(key_held(ALLEGRO_KEY_F1));
}

TEST_F(ControlsTest, HoldPressesOnceAndReleasesOnTheTickAfter) {
  key_pressed(ALLEGRO_KEY_ESCAPE);
  int pressed_ticks = 0;
  int held_ticks = 0;
  for (int i = 0; i < 10; ++i) {
    tick(ALLEGRO_KEY_ESCAPE, true);
    pressed_ticks += key_pressed(ALLEGRO_KEY_ESCAPE);
    held_ticks += key_held(ALLEGRO_KEY_ESCAPE);
    EXPECT_FALSE(key_released(ALLEGRO_KEY_ESCAPE));
  }
  EXPECT_EQ(pressed_ticks, 1);
  EXPECT_EQ(held_ticks, 10);

  tick(ALLEGRO_KEY_ESCAPE, false);
  EXPECT_TRUE(key_released(ALLEGRO_KEY_ESCAPE));
  EXPECT_FALSE(key_held(ALLEGRO_KEY_ESCAPE));
  EXPECT_FALSE(key_pressed(ALLEGRO_KEY_ESCAPE));

  tick(ALLEGRO_KEY_ESCAPE, false);
  EXPECT_FALSE(key_released(ALLEGRO_KEY_ESCAPE)) << "up to up reports nothing";

  tick(ALLEGRO_KEY_ESCAPE, true);
  EXPECT_TRUE(key_pressed(ALLEGRO_KEY_ESCAPE)) << "a new press is reported again";
}

TEST_F(ControlsTest, PressAndReleaseBetweenTwoSamplesIsNotSeen) {
  key_pressed(ALLEGRO_KEY_F1);
  update_controls();
  input.set_down(ALLEGRO_KEY_F1, true);
  input.set_down(ALLEGRO_KEY_F1, false);
  update_controls();
  EXPECT_FALSE(key_pressed(ALLEGRO_KEY_F1));
  EXPECT_FALSE(key_released(ALLEGRO_KEY_F1));
  EXPECT_FALSE(key_held(ALLEGRO_KEY_F1));
}

TEST_F(ControlsTest, ThreeQueriesOfOneCodeCreateOneControl) {
  key_held(ALLEGRO_KEY_A);
  key_pressed(ALLEGRO_KEY_A);
  key_released(ALLEGRO_KEY_A);
  key_pressed(mouse_button_left);
  ASSERT_EQ(controls.buttons.size(), 2u);
  EXPECT_EQ(controls.buttons[0].code, ALLEGRO_KEY_A);
  EXPECT_EQ(controls.buttons[1].code, mouse_button_left);
}

TEST_F(ControlsTest, MouseButtonsAreNegativeCodesAndKeysAreSeparate) {
  key_pressed(mouse_button_left);
  key_pressed(mouse_button_right);
  key_pressed(1);  // key code 1 must not read mouse button 1
  tick(mouse_button_right, true);
  EXPECT_FALSE(key_pressed(mouse_button_left));
  EXPECT_TRUE(key_pressed(mouse_button_right));
  EXPECT_FALSE(key_pressed(1));
  tick(mouse_button_left, true);
  EXPECT_TRUE(key_pressed(mouse_button_left));
  EXPECT_TRUE(key_held(mouse_button_right));
  EXPECT_FALSE(key_pressed(mouse_button_right));
}

TEST_F(ControlsTest, CodesOutsideTheKeyRangeAreNeverDown) {
  // Every key bit set: an out-of-range code must still not read past the state.
  for (unsigned int& bits : input.keyboard.__key_down__internal__) bits = ~0u;
  const int key_max = ALLEGRO_KEY_MAX;
  for (int code : {-3, -100, 0, key_max, key_max + 1000, 1 << 30}) {
    key_held(code);
  }
  update_controls();
  for (const control_button_class& button : controls.buttons) {
    EXPECT_FALSE(button.held) << "code " << button.code;
  }
}

TEST_F(ControlsTest, MousePositionComesFromTheLastSample) {
  input.move_mouse(120, 340);
  update_controls();
  input.move_mouse(-50, 9000);  // moved since, but not sampled yet
  EXPECT_EQ(mouse_x(), 120);
  EXPECT_EQ(mouse_y(), 340);
  update_controls();
  EXPECT_EQ(mouse_x(), -50) << "the position is passed on unclamped";
  EXPECT_EQ(mouse_y(), 9000);
}

TEST_F(ControlsTest, ANestedScriptGivesWayToTheOneBeforeIt) {
  input.move_mouse(10, 20);
  {
    scripted_input_class inner;
    inner.move_mouse(30, 40);
    update_controls();
    EXPECT_EQ(mouse_x(), 30);
  }
  update_controls();
  EXPECT_EQ(mouse_x(), 10);
  EXPECT_EQ(mouse_y(), 20);
}

TEST(DeviceSample, MissingDevicesReadAsNeutral) {
  // No system installed here: neither device exists, and sampling must not abort.
  ALLEGRO_KEYBOARD_STATE keyboard{};
  ALLEGRO_MOUSE_STATE mouse{};
  mouse.x = 5;
  mouse.buttons = 3;
  press_counts presses;
  sample_devices(keyboard, mouse, presses);
  EXPECT_EQ(mouse.x, 0);
  EXPECT_EQ(mouse.y, 0);
  EXPECT_EQ(mouse.buttons, 0);
}

}  // namespace
