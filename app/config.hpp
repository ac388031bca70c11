#pragma once

// The configuration block: fixed values the window, the loop and the game
// read. Nothing loads them from outside; some are game state that the rules
// change while playing (energy, fall_speed).
extern int display_width;
extern int display_height;
extern int display_flags;
extern int energy;
extern float shield_scale_large;
extern float shield_scale_small;
extern float fall_speed;
extern float fall_acceleration;
extern bool check_gl_extensions;

// Application flags: the loop runs while quit_requested is false; debug_view
// (F1) shows object outlines and the resource overlay.
extern bool quit_requested;
extern bool debug_view;
