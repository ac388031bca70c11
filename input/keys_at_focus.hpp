#pragma once

#include <allegro5/allegro.h>

#include <bitset>

namespace tank {

// Which keys were down at the moment the window last got the keyboard focus.
//
// The library cannot say: a key it saw go down stays down in its state while
// the focus is elsewhere, let go there or not, and when the focus is back the
// key's next press and its repeats look alike. The X server reports the whole
// keyboard with every focus-in to a client that asks; a connection of our own
// asks for the display's window.

// Starts watching the display's window (nothing without a display or a server).
void watch_keys_at_focus(ALLEGRO_DISPLAY* display);

// Takes in what the server has sent so far, without waiting for more: call
// it once per sample, so that nothing piles up (the server also reports the
// keyboard each time the pointer enters the window).
void read_focus_events();

// The library key codes down at the latest focus-in the server has reported.
// Keys the library has no code for read up, and so does every key while no
// focus-in has been reported. Asks the server a question: call it when a
// focus-in has just been seen, not on every tick.
std::bitset<ALLEGRO_KEY_MAX> keys_down_at_focus_in();

}  // namespace tank
