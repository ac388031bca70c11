#pragma once

#include <allegro5/allegro.h>

namespace tank {

// One key of the library's keyboard state at a time. The state is a bit array
// with no range check of its own: these keep every access inside it.

// Whether `code` is a key the keyboard state can answer for.
bool is_key_code(int code);

// Sets one key of a keyboard state; a code that is no key changes nothing.
void set_key_down(ALLEGRO_KEYBOARD_STATE& keyboard, int code, bool down);

}  // namespace tank
