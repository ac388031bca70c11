#pragma once

#include <memory>
#include <vector>

#include <tank/math/vec2d.hpp>
#include <tank/objects/object.hpp>

// How the game stands. It leaves game_playing at most once and never returns.
enum game_state_kind : int {
  game_playing = 0,
  game_won = 1,
  game_failed = 2,
};

// The game's named objects. They are constructed, and so registered in
// object_registry, in this order before main runs, and destroyed in the
// reverse order at exit.
extern tank::Object left_tank;   // its rotation holds the left aim angle
extern tank::Object left_turret;
extern tank::Object right_tank;  // its rotation holds the right aim angle
extern tank::Object right_turret;
extern tank::Object bullet_1;  // one pool of four bullets for both tanks, tried in this order
extern tank::Object bullet_2;
extern tank::Object bullet_3;
extern tank::Object bullet_4;
extern tank::Object title_text;
extern tank::Object left_shield;
extern tank::Object right_shield;
extern tank::Object win_text;
extern tank::Object win_subtext;
extern tank::Object fail_text;
extern tank::Object fail_subtext;

// The falling enemies, in creation order. setup_world creates them on the
// heap; each registered itself when constructed. Nothing removes them while
// the game runs: they leave the registry when this sequence goes at exit.
extern std::vector<std::unique_ptr<tank::Object>> enemies;

extern int game_state;    // a game_state_kind
extern int enemies_left;  // enemies still visible, counted at the end of every game update

// A bullet with nothing to do waits invisible here, off screen.
inline const tank::vec2d bullet_parking_place{-300.0f, -300.0f};

// Builds the world once, after start-up and before the first tick: images,
// places, anchors, depths and colours of the named objects, the end texts
// hidden, and the enemies at random places above the screen.
void setup_world();
