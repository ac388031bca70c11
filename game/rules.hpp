#pragma once

#include <tank/objects/object.hpp>

// The game's rules, applied once per tick after the animation step. While
// playing, the enemies fall a little faster every tick and are tested against
// the bullets; in every state the tanks aim at the mouse, the turrets and
// shields follow them, the shields pulse and the mouse buttons fire.
void update_game();

// Every enemy falls fall_speed pixels; one whose centre has passed the bottom
// edge, and which is not already exploding, explodes and costs one energy.
void move_enemies();
// Every enemy against every bullet, in order.
void check_hits();
// An on-screen, fully opaque enemy touched by a visible bullet explodes and
// the bullet is retired.
void hit_test(tank::Object& enemy, tank::Object& bullet);
// Swell, redden and fade out within half a second. Not guarded: each call
// starts a new set of animators.
void explode(tank::Object& enemy);
// Invisible at once, parked off screen, every animator dropped: free again.
void retire_bullet(tank::Object& bullet);
// Sends the first free bullet from the tank towards its aim; with no free
// bullet the shot is lost.
void fire(const tank::Object& tank);
// Starts the swell or the shrink when the shield rests at either end.
void pulse_shield(tank::Object& shield);
// The visible enemies; none left wins the game.
int count_enemies_left();
// Each ends the game only while it is being played, so the first one decides.
void win_game();
void lose_game();
