#pragma once

#include <allegro5/allegro.h>

#include <optional>
#include <string>

namespace tank {

// The framework's settings. Plain values with fixed initial values; a game
// changes them before calling run_game (the window's and start-up's) or at
// any time (the loop's).

// The window, and the frame every tick is drawn into.
extern int display_width;   // of the window and of the frame, in pixels
extern int display_height;
extern int display_flags;   // for al_set_new_display_flags
extern bool check_gl_extensions;  // start-up also asks for two OpenGL extensions
// The window's title; empty: the program's name. Given the window when it is
// made, and followed from the next tick when the game changes it.
extern std::string window_title;
// The image file of the window's icon, loaded when the window is made (one
// that cannot be is a start-up failure); empty: the desktop's default icon.
extern std::string window_icon;

// Start-up.
// A missing sound device is a start-up failure; false: the game starts
// without sound (one line on standard error says so) and playing does nothing.
extern bool audio_required;
// The start-up report always goes to standard error; true also shows it in a
// dialog box and waits until it is closed. False suits an unattended run.
extern bool startup_report_dialog;
// The seed start-up gives the random generator; none: the clock's seconds.
// A game that seeds the generator itself does so in its setup_world, which
// runs after start-up, or names its seed here.
extern std::optional<unsigned> random_seed;
// A resource that fails to load names itself on standard error, once, when
// it first fails (the bins also keep the message and count it).
extern bool report_resource_failures;
// Images loaded from now on are filtered: drawn scaled, turned or between
// whole pixels they stay smooth. Filtering costs a software renderer about
// a microsecond per sprite even where it changes nothing; a game whose
// sprites are never scaled or turned may set it false for sharp, cheaper ones.
extern bool smooth_images;

// The loop. It runs while quit_requested is false; debug_view (F1) shows
// object outlines and the resource overlay. Every frame starts cleared to
// clear_color (light slate grey).
extern bool quit_requested;
extern bool debug_view;
// While true, the game clock (game_time) stands still and the animation step
// only keeps the drawing order: objects' animators stand still. Input, the
// game's update and its drawing go on, so that it can show a pause screen and
// read the key that ends it.
extern bool game_paused;
// Updates a tick runs, on average: at 2 every tick runs two (the game clock
// moving 1/60 s with each), at 0.5 every second tick runs one. The tick's
// input goes to its first update alone. Taken between 0 and 10; at 0 no
// update runs at all, the game's own neither (to pause, use game_paused).
extern double game_speed;
extern ALLEGRO_COLOR clear_color;

}  // namespace tank
