#include <tank/input/input_sample.hpp>

input_sampler sample_input = sample_devices;

void sample_devices(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse) {
  if (al_is_keyboard_installed()) {
    al_get_keyboard_state(&keyboard);
  } else {
    keyboard = ALLEGRO_KEYBOARD_STATE{};
  }
  if (al_is_mouse_installed()) {
    al_get_mouse_state(&mouse);
  } else {
    mouse = ALLEGRO_MOUSE_STATE{};
  }
}

bool is_key_code(int code) { return code > 0 && code < ALLEGRO_KEY_MAX; }
