// The device sample's catch-up on events, without a display: a test sampler
// stands in for sample_devices, handing the controls a snapshot of the devices
// corrected by the events that "arrived" since the previous tick.
#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include <tank/input/controls.hpp>
#include <tank/input/input_catch_up.hpp>
#include <tank/input/input_sample.hpp>

namespace {

struct devices {
  ALLEGRO_KEYBOARD_STATE keyboard{};  // the library's snapshot at the next sample
  ALLEGRO_MOUSE_STATE mouse{};
  std::vector<ALLEGRO_EVENT> events;  // arrived since the previous sample
  input_catch_up catch_up;
};
devices device;

void sample_test_devices(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse) {
  keyboard = device.keyboard;
  mouse = device.mouse;
  for (const ALLEGRO_EVENT& event : device.events) note_input_event(device.catch_up, event);
  device.events.clear();
  apply_input_catch_up(device.catch_up, keyboard, mouse);
}

ALLEGRO_EVENT key_event(ALLEGRO_EVENT_TYPE type, int code) {
  ALLEGRO_EVENT event{};
  event.type = type;
  event.keyboard.keycode = code;
  return event;
}

ALLEGRO_EVENT button_event(ALLEGRO_EVENT_TYPE type, unsigned int button) {
  ALLEGRO_EVENT event{};
  event.type = type;
  event.mouse.button = button;
  return event;
}

ALLEGRO_EVENT down_event(int code) {
  return code == mouse_button_left ? button_event(ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, 1)
                                   : key_event(ALLEGRO_EVENT_KEY_DOWN, code);
}

ALLEGRO_EVENT focus_lost() {
  ALLEGRO_EVENT event{};
  event.type = ALLEGRO_EVENT_DISPLAY_SWITCH_OUT;
  return event;
}

void snapshot_down(int code, bool down) {
  if (code == mouse_button_left) {
    device.mouse.buttons = down ? (device.mouse.buttons | 1) : (device.mouse.buttons & ~1);
  } else {
    set_key_down(device.keyboard, code, down);
  }
}

struct CatchUpTest : ::testing::Test {
  input_sampler previous = sample_input;

  void SetUp() override {
    device = devices{};
    controls.buttons.clear();
    sample_input = sample_test_devices;
    key_pressed(ALLEGRO_KEY_F1);  // tracked from the first update on
    key_pressed(mouse_button_left);
  }
  void TearDown() override {
    sample_input = previous;
    controls.buttons.clear();
  }

  // held, pressed, released of `code` after one update.
  static std::vector<bool> tick(int code, std::initializer_list<ALLEGRO_EVENT> events = {}) {
    device.events.assign(events);
    update_controls();
    return {key_held(code), key_pressed(code), key_released(code)};
  }
};

const std::vector<bool> pressed{true, true, false};
const std::vector<bool> held{true, false, false};
const std::vector<bool> released{false, false, true};
const std::vector<bool> up{false, false, false};

TEST_F(CatchUpTest, ATapOrClickBetweenTwoSamplesIsPressedOnOneTickAndReleasedOnTheNext) {
  // Down and up again before the sample: the snapshot shows nothing.
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {key_event(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_F1),
                                  key_event(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_F1)}),
            pressed);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1), released);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1), up);

  EXPECT_EQ(tick(mouse_button_left, {button_event(ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, 1),
                                     button_event(ALLEGRO_EVENT_MOUSE_BUTTON_UP, 1)}),
            pressed);
  EXPECT_EQ(tick(mouse_button_left), released);
  EXPECT_FALSE(key_held(ALLEGRO_KEY_F1)) << "one control's events leave the others alone";
}

TEST_F(CatchUpTest, AHeldPressReadsAsBefore) {
  snapshot_down(ALLEGRO_KEY_F1, true);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {key_event(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_F1)}), pressed);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tick(ALLEGRO_KEY_F1), held);
  snapshot_down(ALLEGRO_KEY_F1, false);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {key_event(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_F1)}), released);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1), up);
}

TEST_F(CatchUpTest, FocusLossReleasesKeysAndButtonsUntilTheyArePressedAgain) {
  for (int code : {int{ALLEGRO_KEY_F1}, mouse_button_left}) {
    snapshot_down(code, true);
    ASSERT_EQ(tick(code, {down_event(code)}), pressed);
    // Released in another window: the library's snapshot keeps it down.
    EXPECT_EQ(tick(code, {focus_lost()}), released) << code;
    EXPECT_EQ(tick(code), up) << code;
    EXPECT_EQ(tick(code, {down_event(code)}), pressed)
        << "the first press after coming back counts, code " << code;
    EXPECT_EQ(tick(code), held) << code;
  }
}

TEST_F(CatchUpTest, AfterFocusLossARepeatedCharacterIsTheFreshPress) {
  snapshot_down(ALLEGRO_KEY_F1, true);
  tick(ALLEGRO_KEY_F1, {down_event(ALLEGRO_KEY_F1)});
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {key_event(ALLEGRO_EVENT_KEY_CHAR, ALLEGRO_KEY_F1)}), held)
      << "an ordinary repeat while held changes nothing";
  // Released elsewhere, pressed again here: the library, still holding F1
  // down, reports only a repeated character, then the key-up.
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {focus_lost()}), released);
  snapshot_down(ALLEGRO_KEY_F1, false);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {key_event(ALLEGRO_EVENT_KEY_CHAR, ALLEGRO_KEY_F1),
                                  key_event(ALLEGRO_EVENT_KEY_UP, ALLEGRO_KEY_F1)}),
            pressed);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1), released);
}

TEST_F(CatchUpTest, APressJustBeforeFocusLossIsStillSeenOnce) {
  snapshot_down(ALLEGRO_KEY_F1, true);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1, {key_event(ALLEGRO_EVENT_KEY_DOWN, ALLEGRO_KEY_F1), focus_lost()}), pressed);
  EXPECT_EQ(tick(ALLEGRO_KEY_F1), released);
}

TEST(CatchUpEvents, CodesThatAreNoKeyOrButtonChangeNothing) {
  input_catch_up catch_up;
  const int key_max = ALLEGRO_KEY_MAX;
  for (int code : {0, -1, key_max, key_max + 1000}) {
    note_input_event(catch_up, key_event(ALLEGRO_EVENT_KEY_DOWN, code));
  }
  for (unsigned int button : {0u, 33u, 1000u}) {
    note_input_event(catch_up, button_event(ALLEGRO_EVENT_MOUSE_BUTTON_DOWN, button));
  }
  ALLEGRO_KEYBOARD_STATE keyboard{};
  ALLEGRO_MOUSE_STATE mouse{};
  apply_input_catch_up(catch_up, keyboard, mouse);
  for (unsigned int bits : keyboard.__key_down__internal__) EXPECT_EQ(bits, 0u);
  EXPECT_EQ(mouse.buttons, 0);
}

}  // namespace
