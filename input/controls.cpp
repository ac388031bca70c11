#include <tank/input/controls.hpp>

#include <algorithm>
#include <cmath>

#include <tank/input/input_sample.hpp>
#include <tank/input/key_state.hpp>
#include <tank/input/press_counts.hpp>

namespace tank {

constinit global_instance<control_set_class> controls_instance;
constinit control_set_class& controls = controls_instance.object();

ALLEGRO_KEYBOARD_STATE keyboard_state{};
ALLEGRO_MOUSE_STATE mouse_state{};
ALLEGRO_JOYSTICK* joystick = nullptr;
ALLEGRO_JOYSTICK_STATE joystick_state{};

namespace {
press_counts sampled_presses;

// Frame pixels per window pixel, and where the frame starts in the window.
struct frame_placement {
  int left = 0;
  int top = 0;
  double scale_x = 1.0;
  double scale_y = 1.0;
};
frame_placement placement;

bool is_down(int code) {
  if (code == mouse_button_left) return al_mouse_button_down(&mouse_state, 1);
  if (code == mouse_button_right) return al_mouse_button_down(&mouse_state, 2);
  // The keyboard state is a bit array with no range check of its own.
  return is_key_code(code) && al_key_down(&keyboard_state, code);
}
}  // namespace

void control_button_class::update() {
  pressed = false;
  released = false;
  const bool down = is_down(code);
  if (!down && held) released = true;
  if (!down) held = false;
  if (down && !held) pressed = true;
  if (down) held = true;
  // A sampler that counts nothing still gives a press its one.
  presses = pressed ? std::max(1, sampled_presses.of(code)) : 0;
}

void control_set_class::update() {
  for (control_button_class& button : buttons) button.update();
}

void control_set_class::forget_presses() {
  for (control_button_class& button : buttons) {
    button.pressed = false;
    button.released = false;
    button.presses = 0;
  }
}

control_button_class* control_set_class::find(int code) {
  for (control_button_class& button : buttons) {
    if (button.code == code) return &button;
  }
  return nullptr;
}

const control_button_class& control_set_class::find_or_add(int code) {
  if (control_button_class* button = find(code)) return *button;
  control_button_class added;
  added.code = code;
  buttons.push_back(added);
  return buttons.back();
}

bool control_set_class::held(int code) { return find_or_add(code).held; }
bool control_set_class::pressed(int code) { return find_or_add(code).pressed; }
bool control_set_class::released(int code) { return find_or_add(code).released; }
int control_set_class::presses(int code) { return find_or_add(code).presses; }

void place_frame_in_window(int left, int top, int width, int height, int frame_width, int frame_height) {
  // A minimised window shows no frame; the pointer keeps its last mapping.
  if (width <= 0 || height <= 0) return;
  placement = {left, top, static_cast<double>(frame_width) / width, static_cast<double>(frame_height) / height};
}

void update_controls() {
  sample_input(keyboard_state, mouse_state, sampled_presses);
  mouse_state.x = static_cast<int>(std::floor((mouse_state.x - placement.left) * placement.scale_x));
  mouse_state.y = static_cast<int>(std::floor((mouse_state.y - placement.top) * placement.scale_y));
  if (joystick) al_get_joystick_state(joystick, &joystick_state);
  controls.update();
}

bool key_held(int code) { return controls.held(code); }
bool key_pressed(int code) { return controls.pressed(code); }
bool key_released(int code) { return controls.released(code); }
int key_presses(int code) { return controls.presses(code); }
void forget_presses() { controls.forget_presses(); }
int mouse_x() { return mouse_state.x; }
int mouse_y() { return mouse_state.y; }

}  // namespace tank
