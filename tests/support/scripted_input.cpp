#include "tests/support/scripted_input.hpp"

#include <tank/input/controls.hpp>
#include <tank/input/input_sample.hpp>
#include <tank/input/key_state.hpp>

using namespace tank;

namespace {
scripted_input_class* active = nullptr;

void sample_script(ALLEGRO_KEYBOARD_STATE& keyboard, ALLEGRO_MOUSE_STATE& mouse, press_counts& presses) {
  keyboard = active->keyboard;
  mouse = active->mouse;
  presses = active->presses;
  active->presses = {};
}
}  // namespace

scripted_input_class::scripted_input_class() : previous(active), previous_sampler(sample_input) {
  active = this;
  sample_input = sample_script;
}

// Scripts nest: the one made last is in force until it goes, then the one
// before it is again.
scripted_input_class::~scripted_input_class() {
  active = previous;
  sample_input = previous_sampler;
}

void scripted_input_class::set_down(int code, bool down) {
  if (code == mouse_button_left || code == mouse_button_right) {
    const unsigned int bit = 1u << (-code - 1);
    const unsigned int buttons = static_cast<unsigned int>(mouse.buttons);
    mouse.buttons = static_cast<int>(down ? buttons | bit : buttons & ~bit);
  } else {
    set_key_down(keyboard, code, down);
  }
}

bool scripted_input_class::is_down(int code) const {
  if (code == mouse_button_left || code == mouse_button_right) return al_mouse_button_down(&mouse, -code);
  return is_key_code(code) && al_key_down(&keyboard, code);
}

void scripted_input_class::move_mouse(int x, int y) {
  mouse.x = x;
  mouse.y = y;
}
