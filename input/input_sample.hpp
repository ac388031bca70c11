#pragma once

#include <allegro5/allegro.h>

namespace tank {

// Where a tick's input sample comes from. By default the library's keyboard
// and mouse; a headless run or a test installs its own sampler.
using input_sampler = void (*)(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse);
extern input_sampler sample_input;

// The library's devices. A device that could not be installed reads as
// neutral (nothing held, mouse at 0, 0): the library aborts when the state
// of a missing device is asked for.
//
// Once start_input_events has run, the sample also holds every key and
// button that went down since the previous one, even if already up again, and
// after the display loses focus every key and button reads up until it is
// pressed again (tank/input/input_catch_up.hpp).
void sample_devices(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse);

// Starts listening to the installed keyboard and mouse, and to the display's
// focus when there is one, on a queue of the input's own. Called again, it
// adds what is new (a display made later).
void start_input_events(ALLEGRO_DISPLAY* display);

// Whether `code` is a key the keyboard state can answer for.
bool is_key_code(int code);

// Sets one key of a keyboard state; a code that is no key changes nothing.
void set_key_down(ALLEGRO_KEYBOARD_STATE& keyboard, int code, bool down);

}  // namespace tank
