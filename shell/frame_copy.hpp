#pragma once

#include <allegro5/allegro.h>

#include <tank/shell/frame_layout.hpp>

namespace tank {

// The copy of the composed frame to the window, which on a software renderer
// costs as much as everything drawn into the frame: each case takes the
// cheapest way that gives the same pixels.
//
//   unscaled   a framebuffer blit where the display is OpenGL, else a plain
//              draw of the unfiltered frame (filtering changes no pixel there)
//   scaled     a draw of the frame filtered, so that it stays smooth
//
// Every way replaces the window's pixels, alpha included: translucent sprites
// lower the frame's alpha, and the copy must still cover what was there.

// Copies the frame into the current display's back buffer, scaled to fit
// (fit_frame), with black around it when it does not fill the window. The
// mouse is told where the frame went. No flip.
void copy_frame_to_window(ALLEGRO_BITMAP* frame);

// The ways themselves, each onto the current target, the back buffer.

// Gives the frame linear filtering, or takes it away, when it has not the
// filtering asked for; its pixels and its address stay.
void set_frame_filtering(ALLEGRO_BITMAP* frame, bool filtered);

// Copies the frame unscaled with its top-left corner at (left, top) by an
// OpenGL framebuffer blit, which knows no transform or clipping. False, with
// nothing done, where there is none to be had: a target other than the back
// buffer, a display that is not desktop OpenGL 3.0 or has no framebuffer
// objects, a multisampled back buffer, a frame in memory or padded in its
// texture, or a blit that failed once.
bool blit_frame(ALLEGRO_BITMAP* frame, int left, int top);

// Draws the frame into the layout's place with its own filtering, replacing
// the pixels below it.
void draw_frame_copy(ALLEGRO_BITMAP* frame, const frame_layout& layout);

}  // namespace tank
