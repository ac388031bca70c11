#pragma once

// The whole configuration block in one place: the window's settings and the
// application flags belong to the framework, the tuning to the game.
//
//   display_width        int    800               framework
//   display_height       int    600               framework
//   display_flags        int    ALLEGRO_WINDOWED  framework
//   energy               int    5                 game
//   shield_scale_large   float  1.2               game
//   shield_scale_small   float  0.9               game
//   fall_speed           float  1.0               game
//   fall_acceleration    float  0.0005            game
//   check_gl_extensions  bool   false             framework
//   quit_requested       bool   false             framework
//   debug_view           bool   false             framework
#include <tank/core/settings.hpp>

#include "game/tuning.hpp"
