#pragma once

#include <allegro5/allegro.h>

#include <vector>

#include <tank/core/global.hpp>

namespace tank {

// Control codes: -1 and -2 are mouse buttons 1 (left) and 2 (right); any
// other code is a library key code.
constexpr int mouse_button_left = -1;
constexpr int mouse_button_right = -2;

// One tracked key or mouse button, with edge detection against the previous
// sample.
struct control_button_class {
  bool held = false;      // down as of the last update
  bool pressed = false;   // went down at the last update
  bool released = false;  // went up at the last update
  // How many times it went down since the update before: 0 unless pressed,
  // more than 1 when several presses fell between two samples (a tick that
  // ran late). A toggle applies them all: it flips when the count is odd.
  int presses = 0;
  int code = 0;

  void update();  // from the tick's sample
};

// Every control anyone has asked about, in the order of the first question.
// A control starts being tracked at its first query, which answers false.
struct control_set_class {
  std::vector<control_button_class> buttons;  // in the order of the first question

  // The same as key_held ... key_presses, and the tick's update.
  void update();
  bool held(int code);
  bool pressed(int code);
  bool released(int code);
  int presses(int code);
  // Every control reads as in a sample in which nothing changed: held as it
  // was, nothing pressed or released.
  void forget_presses();

 private:
  control_button_class* find(int code);
  const control_button_class& find_or_add(int code);
};

// A framework global, usable from the constructors of globals in any file
// (tank/core/global.hpp).
extern global_instance<control_set_class> controls_instance;
extern control_set_class& controls;
static global_user<controls_instance> controls_user;

// The tick's input sample, overwritten by every update.
extern ALLEGRO_KEYBOARD_STATE keyboard_state;
extern ALLEGRO_MOUSE_STATE mouse_state;
extern ALLEGRO_JOYSTICK* joystick;  // none unless someone sets one
extern ALLEGRO_JOYSTICK_STATE joystick_state;

// Where the frame lies in the window, as last drawn: the shell scales the
// frame to fit a window of any size, and mouse_x() and mouse_y() are in frame
// pixels. Until it is told otherwise, the two coincide.
void place_frame_in_window(int left, int top, int width, int height, int frame_width, int frame_height);

void update_controls();         // takes the tick's sample (the loop does)
bool key_held(int code);        // down at this tick
bool key_pressed(int code);     // went down at this tick
bool key_released(int code);    // went up at this tick
int key_presses(int code);      // presses since the last tick: 0 unless pressed
// The sample's presses and releases are forgotten, what is held stays: for a
// second update on one sample, which must not see a press again.
void forget_presses();
int mouse_x();                  // the pointer, in frame pixels
int mouse_y();                  // the same, downwards

}  // namespace tank
