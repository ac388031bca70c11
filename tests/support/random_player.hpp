#pragma once

#include <initializer_list>
#include <random>

#include <tank/objects/object.hpp>

#include "tests/support/scripted_input.hpp"

// A player for headless runs of the game. Every choice comes from one seeded
// engine, so a run is repeated exactly by its seed.
struct random_player_class {
  std::mt19937 engine;

  explicit random_player_class(unsigned int seed) : engine(seed) {}

  int between(int low, int high);  // both ends included
  bool one_in(int n);              // on about one call in n; always for n <= 1

  // The mouse anywhere in the window or up to `margin` pixels around it.
  void jump(scripted_input_class& input, int margin);
  // Each control goes down if up, or up if down, on about one call in `flicker`.
  void flicker(scripted_input_class& input, std::initializer_list<int> codes, int flicker);
  // The first `count` enemies at random places between `top` and the top
  // edge, spread across the window as the world's setup spreads them; the
  // others invisible, so they neither count as left nor fall in.
  void scatter_enemies(int count, int top);
};

// The lowest enemy that can still be hit (whole and on screen), or none.
const tank::Object* lowest_target();
