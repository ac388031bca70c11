#include "game/tuning.hpp"

int energy = 5;
float shield_scale_large = 1.2f;
float shield_scale_small = 0.9f;
float fall_speed = 1.0f;
float fall_acceleration = 0.0005f;
