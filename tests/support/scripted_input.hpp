#pragma once

#include <allegro5/allegro.h>

#include <tank/input/input_sample.hpp>
#include <tank/input/press_counts.hpp>

// Input that a test or a headless run scripts: installed as the controls'
// sampler for the object's lifetime, it hands over whatever state was set
// on it at the moment of each update_controls(), and the presses counted
// since the one before (then counts afresh).
struct scripted_input_class {
  ALLEGRO_KEYBOARD_STATE keyboard{};
  ALLEGRO_MOUSE_STATE mouse{};
  tank::press_counts presses{};
  scripted_input_class* previous = nullptr;  // in force before this one
  tank::input_sampler previous_sampler = nullptr;

  scripted_input_class();
  ~scripted_input_class();
  scripted_input_class(const scripted_input_class&) = delete;
  scripted_input_class& operator=(const scripted_input_class&) = delete;

  // A library key code, or a control code: -1, -2 for mouse buttons 1, 2.
  void set_down(int code, bool down);
  bool is_down(int code) const;
  void move_mouse(int x, int y);
};
