#pragma once

#include <allegro5/allegro.h>

// Where a tick's input sample comes from. By default the library's keyboard
// and mouse; a headless run or a test installs its own sampler.
using input_sampler = void (*)(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse);
extern input_sampler sample_input;

// The library's devices. A device that could not be installed reads as
// neutral (nothing held, mouse at 0, 0): the library aborts when the state
// of a missing device is asked for.
void sample_devices(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse);

// Whether `code` is a key the keyboard state can answer for.
bool is_key_code(int code);
