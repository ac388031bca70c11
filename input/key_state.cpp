#include <tank/input/key_state.hpp>

namespace tank {

bool is_key_code(int code) { return code > 0 && code < ALLEGRO_KEY_MAX; }

void set_key_down(ALLEGRO_KEYBOARD_STATE& keyboard, int code, bool down) {
  if (!is_key_code(code)) return;
  // The library keeps one bit per key code in this array.
  unsigned int& bits = keyboard.__key_down__internal__[code / 32];
  const unsigned int mask = 1u << (code % 32);
  bits = down ? (bits | mask) : (bits & ~mask);
}

}  // namespace tank
