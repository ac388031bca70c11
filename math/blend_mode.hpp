#pragma once

#include <allegro5/allegro.h>

namespace tank {

// How a drawn pixel combines with what is already there. The numbers are
// part of the interface; source pixels are first multiplied by the tint.
enum class blend_mode : int {
  normal = 0,          // (ALPHA, INVERSE_ALPHA): ordinary alpha blending
  additive = 1,        // (ONE, ONE): light adds up; ignores alpha, so objects fade by darkening
  one_alpha = 2,       // (ONE, ALPHA)
  alpha = 3,           // (ALPHA, INVERSE_ALPHA), as normal
  unchanged = 4,       // the blender is left as it is
  cut_out = 5,         // (ZERO, INVERSE_ALPHA): darkens and clears where the source is opaque
  additive_alpha = 6,  // (ALPHA, ONE): light adds up in proportion to alpha, for soft glows
};

// The one way the program changes the blender: a mode and a tint. A number
// outside the list above blends as normal.
//
// A one-entry cache answers a repeated request without calling the library,
// and a new tint in the same mode is only recorded: the factors depend on the
// mode alone, so only a change of mode sets the library's blender (and so
// ends a held drawing batch).
// The library's blender no longer carries a colour, so the tint is kept here
// and every bitmap and text draw of the framework applies it (tinted drawing):
// source pixels are multiplied by the tint, then combined by the factors.
extern blend_mode last_blend_mode;
extern ALLEGRO_COLOR last_blend_color;

// Blends as `mode` from now on, tinting by `color`.
void set_blend_mode(blend_mode mode, const ALLEGRO_COLOR& color);

// Makes the library's blender what the cache says it is. The library starts
// with a premultiplied-alpha blender the cache knows nothing of; call this
// once the library is up, before anything is drawn.
void apply_cached_blend_mode();

// The tint in force: the colour of the last request (blend_mode::unchanged
// changes nothing, its colour included).
ALLEGRO_COLOR current_tint();

// The library call behind set_blend_mode; tests replace it to count calls.
using blender_function = void (*)(int op, int source, int destination);
extern blender_function apply_blender;

}  // namespace tank
