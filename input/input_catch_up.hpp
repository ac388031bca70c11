#pragma once

#include <allegro5/allegro.h>

#include <bitset>
#include <cstddef>

#include <tank/input/press_counts.hpp>

namespace tank {

// What the device events since the previous sample add to it.
//
// The library's key and button state is a snapshot: a press and release that
// both fall between two samples (a quick tap, a touchpad's tap-to-click)
// leaves no trace in it, and a key released while the window had no focus
// stays down in it for good. The events fill both gaps.
struct input_catch_up {
  // Went down since the previous sample: down in the next sample, whatever
  // the snapshot says. Bit b - 1 of the buttons is mouse button b.
  std::bitset<ALLEGRO_KEY_MAX> keys_went_down{};
  unsigned int buttons_went_down = 0;
  // Up in every sample from the moment the window lost focus until an event
  // for that key or button arrives again.
  std::bitset<ALLEGRO_KEY_MAX> keys_masked{};
  unsigned int buttons_masked = 0;
  // Keys that were down when the focus came back: held through the switch,
  // or pressed in another window and still held. Their repeats are no press,
  // and they stay masked until they go up.
  std::bitset<ALLEGRO_KEY_MAX> keys_held_over{};
  // Went up since the previous sample (losing the focus counts), or read
  // down in it by a tap already over. A press that follows such a release of
  // a key down in the previous sample waits one sample, so that the release
  // is seen first (two quick taps on successive ticks are two presses).
  std::bitset<ALLEGRO_KEY_MAX> keys_went_up{};
  unsigned int buttons_went_up = 0;
  std::bitset<ALLEGRO_KEY_MAX> keys_last_down{};
  unsigned int buttons_last_down = 0;
  // Presses not handed out yet. They go out with the sample in which their
  // key or button reads down after reading up, so a press that waits a
  // sample is counted once, when it is seen.
  press_counts presses_waiting{};
};

// Folds one event in. Key and mouse button events and the display's focus
// loss count; every other event is ignored. The library reports the press of
// a key it still holds down as a repeated character only: after focus loss,
// that is taken for the fresh press it is, unless the key is held over.
void note_input_event(input_catch_up& catch_up, const ALLEGRO_EVENT& event);

// The window has the focus again, and these keys were down at that moment
// (as the X server saw them): they are held over, not pressed again.
void note_focus_back(input_catch_up& catch_up, const std::bitset<ALLEGRO_KEY_MAX>& keys_down);

// Corrects a sample just read from the devices: masked keys and buttons read
// up, those that went down read down. The presses are then forgotten, so such
// a key reads down for exactly one sample when it is already up again; the
// masks stay. A press after a release of a key the previous sample had down
// reads up now and down in the next sample. `presses` gets the presses of
// every key and button that reads down now after reading up, all of them
// since it last did.
void apply_input_catch_up(input_catch_up& catch_up, ALLEGRO_KEYBOARD_STATE& keyboard,
                          ALLEGRO_MOUSE_STATE& mouse, press_counts& presses);

}  // namespace tank
