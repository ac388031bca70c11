#pragma once

#include <allegro5/allegro.h>

#include <tank/input/press_counts.hpp>

namespace tank {

// Where a tick's input sample comes from: the state of the keyboard and the
// mouse, and how many times each key and button went down since the previous
// sample. By default the library's devices; a headless run or a test
// installs its own sampler.
using input_sampler = void (*)(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse,
                               press_counts& presses);
extern input_sampler sample_input;

// The library's devices. A device that could not be installed reads as
// neutral (nothing held, mouse at 0, 0): the library aborts when the state
// of a missing device is asked for.
//
// Once start_input_events has run, the sample also holds every key and
// button that went down since the previous one, even if already up again,
// with the number of such presses; after the display loses focus every key
// and button reads up until it is pressed again, and a key held down when the
// focus comes back reads up until it is let go (tank/input/input_catch_up.hpp).
// Until then every count is 0.
void sample_devices(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse, press_counts& presses);

// Starts listening to the installed keyboard and mouse, and to the display's
// focus when there is one, on a queue of the input's own. Called again, it
// adds what is new (a display made later).
void start_input_events(ALLEGRO_DISPLAY* display);

}  // namespace tank
