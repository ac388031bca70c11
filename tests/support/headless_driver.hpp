#pragma once

#include <allegro5/allegro.h>

#include "tests/support/scripted_input.hpp"
#include "tests/support/test_clock.hpp"

// Runs the real game without a window, as fast as the machine allows: for
// tests, benchmarks and long runs.
//
// Constructing it installs a driven clock and scripted input, brings up the
// library without a display (memory bitmaps, the image, font, ttf and
// primitives add-ons, the placeholders from data/), seeds the random
// generator and builds the world. Each tick then advances the clock by
// 1/60 s and runs the real update_tick(); drawing into the memory frame with
// the real draw_frame() is optional.
//
// The game's objects are globals, so the world is built once per process:
// keep one driver for the whole process, shared_driver() below (a second
// driver finds the world built and does not build it again). To run several
// scenarios in one process, start each from reset_game().
struct headless_driver_class {
  test_clock_class clock;
  scripted_input_class input;  // move the mouse and press buttons between ticks
  ALLEGRO_BITMAP* frame = nullptr;  // a memory bitmap of the display's size
  int ticks = 0;                    // ticks run since construction

  explicit headless_driver_class(unsigned int seed = 1);
  ~headless_driver_class();
  headless_driver_class(const headless_driver_class&) = delete;
  headless_driver_class& operator=(const headless_driver_class&) = delete;

  // One tick: the clock moves 1/60 s, then update_tick(); with draw, the
  // frame is drawn as well.
  void tick(bool draw = false);
  void run(int count, bool draw = false);
  // The frame of the current state, as the window would show it.
  void draw();
  // The colour of one pixel of the last frame drawn.
  ALLEGRO_COLOR pixel(int x, int y) const;

  // Brings the game back to a known state without building anything:
  // energy 5, fall speed 1, playing, nothing counted, the flags down; every
  // object's animators dropped; the four bullets free and parked; the title
  // and the end texts hidden; the shields at their small scale; every enemy
  // whole (opacity 1, scale 1, white) and parked far above the screen, where
  // it neither falls in during a test nor counts as gone. Then one tick runs
  // with the input let go, so that every control the game asks about is
  // tracked and up (the next press counts) and the turrets and shields stand
  // on their tanks; the fall speed is set back to 1 after it. The clock keeps
  // running. A scenario then places the enemies it needs.
  void reset_game();
};

// The process's driver: built by the first call, with that call's seed, and
// kept until the process ends.
headless_driver_class& shared_driver(unsigned int seed = 1);
