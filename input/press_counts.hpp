#pragma once

#include <allegro5/allegro.h>

#include <array>

namespace tank {

// How many times each key and mouse button went down since the previous
// input sample. The sample's state holds one press at most, but a stalled
// tick can span several (two quick presses of a toggle key must leave it as
// it was): these counts give every one of them.
struct press_counts {
  std::array<int, ALLEGRO_KEY_MAX> keys{};  // by key code
  std::array<int, 32> buttons{};            // by mouse button number - 1: [0] is button 1

  // The count for a control code (tank/input/controls.hpp): a key code, or
  // -1 and -2 for mouse buttons 1 and 2. Zero for a code that is neither.
  int of(int code) const;
  // Adds presses of a control code; a code that is neither is ignored.
  void add(int code, int count = 1);
};

}  // namespace tank
