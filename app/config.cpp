#include "app/config.hpp"

#include <allegro5/allegro.h>

int display_width = 800;
int display_height = 600;
int display_flags = ALLEGRO_WINDOWED;
int energy = 5;
float shield_scale_large = 1.2f;
float shield_scale_small = 0.9f;
float fall_speed = 1.0f;
float fall_acceleration = 0.0005f;
bool check_gl_extensions = false;

bool quit_requested = false;
bool debug_view = false;
