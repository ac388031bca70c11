#pragma once

// The game's tuning: fixed starting values that the rules change while
// playing (energy, fall_speed).
extern int energy;
extern float shield_scale_large;
extern float shield_scale_small;
extern float fall_speed;
extern float fall_acceleration;
