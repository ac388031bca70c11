// The device sample's catch-up on events, without a display: a test sampler
// stands in for sample_devices, handing the controls a snapshot of the devices
// corrected by the events that "arrived" since the previous tick.
#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <bitset>
#include <vector>

#include <tank/input/controls.hpp>
#include <tank/input/input_catch_up.hpp>
#include <tank/input/input_sample.hpp>
#include <tank/input/key_state.hpp>
#include <tank/input/press_counts.hpp>

using namespace tank;

namespace {

ALLEGRO_KEYBOARD_STATE snapshot_keys{};  // what the library's state says at the next sample
ALLEGRO_MOUSE_STATE snapshot_mouse{};
std::vector<ALLEGRO_EVENT> arrived;             // since the previous sample
std::bitset<ALLEGRO_KEY_MAX> down_at_focus_in;  // what the server tells at a focus-in
input_catch_up catch_up;

void sample_test_devices(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse,
                         press_counts& presses) {
  keyboard = snapshot_keys;
  mouse = snapshot_mouse;
  for (const ALLEGRO_EVENT& event : arrived) {
    if (event.type == ALLEGRO_EVENT_DISPLAY_SWITCH_IN) note_focus_back(catch_up, down_at_focus_in);
    note_input_event(catch_up, event);
  }
  arrived.clear();
  apply_input_catch_up(catch_up, keyboard, mouse, presses);
}

// A key event, or for mouse_button_left a button event (DOWN and UP given as
// the key's); any other type without a code.
ALLEGRO_EVENT event(ALLEGRO_EVENT_TYPE type, int code = 0) {
  ALLEGRO_EVENT e{};
  e.type = type;
  if (code == mouse_button_left) {
    e.type = type == ALLEGRO_EVENT_KEY_DOWN ? ALLEGRO_EVENT_MOUSE_BUTTON_DOWN : ALLEGRO_EVENT_MOUSE_BUTTON_UP;
    e.mouse.button = 1;
  } else {
    e.keyboard.keycode = code;
  }
  return e;
}

void snapshot_down(int code, bool down) {
  if (code == mouse_button_left) {
    snapshot_mouse.buttons = down ? 1 : 0;
  } else {
    set_key_down(snapshot_keys, code, down);
  }
}

struct CatchUpTest : ::testing::Test {
  input_sampler previous = sample_input;

  void SetUp() override {
    snapshot_keys = {};
    snapshot_mouse = {};
    down_at_focus_in = {};
    catch_up = {};
    controls.buttons.clear();
    sample_input = sample_test_devices;
    key_pressed(ALLEGRO_KEY_F1);  // tracked from the first update on
    key_pressed(mouse_button_left);
  }
  void TearDown() override {
    sample_input = previous;
    controls.buttons.clear();
  }

  // {held, pressed, released} of `code` after one update.
  static std::vector<bool> tick(int code, const std::vector<ALLEGRO_EVENT>& events = {}) {
    arrived = events;
    update_controls();
    return {key_held(code), key_pressed(code), key_released(code)};
  }
};

const std::vector<bool> pressed{true, true, false};
const std::vector<bool> held{true, false, false};
const std::vector<bool> released{false, false, true};
const std::vector<bool> up{false, false, false};

// Down and up again, `count` times.
std::vector<ALLEGRO_EVENT> taps(int code, int count) {
  std::vector<ALLEGRO_EVENT> events;
  for (int i = 0; i < 2 * count; ++i) {
    events.push_back(event(i % 2 ? ALLEGRO_EVENT_KEY_UP : ALLEGRO_EVENT_KEY_DOWN, code));
  }
  return events;
}

TEST_F(CatchUpTest, ATapOrClickBetweenTwoSamplesIsPressedOnOneTickAndReleasedOnTheNext) {
  for (int code : {int{ALLEGRO_KEY_F1}, mouse_button_left}) {
    // Down and up again before the sample: the snapshot shows nothing.
    EXPECT_EQ(tick(code, {event(ALLEGRO_EVENT_KEY_DOWN, code), event(ALLEGRO_EVENT_KEY_UP, code)}), pressed);
    EXPECT_EQ(tick(code), released) << code;
    EXPECT_EQ(tick(code), up) << code;
    // Two taps on successive ticks: the second waits for the first's release.
    for (int tap = 0; tap < 2; ++tap) {
      arrived = {event(ALLEGRO_EVENT_KEY_DOWN, code), event(ALLEGRO_EVENT_KEY_UP, code)};
      update_controls();
    }
    EXPECT_TRUE(key_released(code)) << code;
    EXPECT_EQ(tick(code), pressed) << code;
    EXPECT_EQ(tick(code), released) << code;
    // A tap, then a press that the next sample finds still down: the tap's
    // release comes first there, the press after it.
    tick(code, {event(ALLEGRO_EVENT_KEY_DOWN, code), event(ALLEGRO_EVENT_KEY_UP, code)});
    snapshot_down(code, true);
    EXPECT_EQ(tick(code, {event(ALLEGRO_EVENT_KEY_DOWN, code)}), released) << code;
    EXPECT_EQ(tick(code), pressed) << "the second tap, " << code;
    snapshot_down(code, false);
    EXPECT_EQ(tick(code, {event(ALLEGRO_EVENT_KEY_UP, code)}), released) << code;
  }
}

TEST_F(CatchUpTest, AHeldPressReadsAsBefore) {
  snapshot_down(ALLEGRO_KEY_F1, true);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {event(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_F1)}), pressed);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(tick(ALLEGRO_KEY_F1, {event(ALLEGRO_EVENT_KEY_CHAR, ALLEGRO_KEY_F1)}), held) << "repeats";
  }
  snapshot_down(ALLEGRO_KEY_F1, false);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {event(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_F1)}), released);
}

TEST_F(CatchUpTest, FocusLossReleasesKeysAndButtonsUntilTheyArePressedAgain) {
  for (int code : {int{ALLEGRO_KEY_F1}, mouse_button_left}) {
    snapshot_down(code, true);
    ASSERT_EQ(tick(code, {event(ALLEGRO_EVENT_KEY_DOWN, code)}), pressed);
    // Released in another window: the library's snapshot keeps it down.
    EXPECT_EQ(tick(code, {event(ALLEGRO_EVENT_DISPLAY_SWITCH_OUT)}), released) << code;
    EXPECT_EQ(tick(code), up) << code;
    EXPECT_EQ(tick(code, {event(ALLEGRO_EVENT_KEY_DOWN, code)}), pressed) << "back and pressed, " << code;
    // Away and back and pressed again, all before one sample.
    EXPECT_EQ(tick(code, {event(ALLEGRO_EVENT_DISPLAY_SWITCH_OUT), event(ALLEGRO_EVENT_DISPLAY_SWITCH_IN),
                          event(ALLEGRO_EVENT_KEY_DOWN, code)}),
              released)
        << code;
    EXPECT_EQ(tick(code), pressed) << code;
  }
  // The library, still holding F1 down, reports its next press as a repeated
  // character only.
  tick(ALLEGRO_KEY_F1, {event(ALLEGRO_EVENT_DISPLAY_SWITCH_OUT)});
  snapshot_down(ALLEGRO_KEY_F1, false);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {event(ALLEGRO_EVENT_KEY_CHAR, ALLEGRO_KEY_F1),
                                  event(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_F1)}),
            pressed);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1), released);
}

TEST_F(CatchUpTest, EveryPressIsCountedOnceOnTheTickItIsSeen) {
  for (int code : {int{ALLEGRO_KEY_F1}, mouse_button_left}) {
    EXPECT_EQ(tick(code, taps(code, 3)), pressed) << code;
    EXPECT_EQ(key_presses(code), 3) << code;
    // Taps right after a tap wait a tick for its release, their count with them.
    EXPECT_EQ(tick(code, taps(code, 2)), released) << code;
    EXPECT_EQ(tick(code, taps(code, 1)), pressed) << code;
    EXPECT_EQ(key_presses(code), 3) << "the two that waited and one more, " << code;
    EXPECT_EQ(tick(code), released) << code;
    EXPECT_EQ(key_presses(code), 0) << code;
  }
}

TEST_F(CatchUpTest, AKeyDownWhenTheFocusComesBackIsHeldOverUntilItGoesUp) {
  snapshot_down(ALLEGRO_KEY_F1, true);
  tick(ALLEGRO_KEY_F1, {event(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_F1)});
  tick(ALLEGRO_KEY_F1, {event(ALLEGRO_EVENT_DISPLAY_SWITCH_OUT)});
  // It repeats as characters, and as a key-down if it was pressed elsewhere.
  down_at_focus_in.set(ALLEGRO_KEY_F1);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1,
                 {event(ALLEGRO_EVENT_DISPLAY_SWITCH_IN), event(ALLEGRO_EVENT_KEY_CHAR, ALLEGRO_KEY_F1),
                  event(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_F1)}),
            up);
  snapshot_down(ALLEGRO_KEY_F1, false);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {event(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_F1)}), up);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, taps(ALLEGRO_KEY_F1, 1)), pressed) << "once up, an ordinary key again";
}

}  // namespace
