#pragma once

namespace tank {

// The framework's settings: the window it opens and the two flags the loop
// obeys. Plain values with fixed initial values; a game may change them
// before calling run_game (the window's) or at any time (the flags).
extern int display_width;   // of the window and of the frame, in pixels
extern int display_height;
extern int display_flags;   // for al_set_new_display_flags
extern bool check_gl_extensions;  // start-up also asks for two OpenGL extensions

// The loop runs while quit_requested is false; debug_view (F1) shows object
// outlines and the resource overlay.
extern bool quit_requested;
extern bool debug_view;

}  // namespace tank
