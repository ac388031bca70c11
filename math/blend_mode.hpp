#pragma once

#include <allegro5/allegro.h>

namespace tank {

// The one way the program changes the blender: a mode number and a tint.
//
//   mode 1: additive (ONE, ONE)       mode 2: (ONE, ALPHA)
//   mode 3: (ALPHA, INVERSE_ALPHA)    mode 4: blender left as it is
//   mode 5: (ZERO, INVERSE_ALPHA)     any other: (ALPHA, INVERSE_ALPHA)
//
// A one-entry cache answers a repeated request without calling the library,
// and a new tint in the same mode is only recorded: the factors depend on the
// mode alone, so only a change of mode sets the library's blender (and so
// ends a held drawing batch).
// The library's blender no longer carries a colour, so the tint is kept here
// and every bitmap and text draw of the framework applies it (tinted drawing):
// source pixels are multiplied by the tint, then combined by the factors.
extern int last_blend_mode;
extern ALLEGRO_COLOR last_blend_color;

void set_blend_mode(int mode, const ALLEGRO_COLOR& color);

// Makes the library's blender what the cache says it is. The library starts
// with a premultiplied-alpha blender the cache knows nothing of; call this
// once the library is up, before anything is drawn.
void apply_cached_blend_mode();

// The tint in force: the colour of the last request (mode 4 changes
// nothing, its colour included).
ALLEGRO_COLOR current_tint();

// The library call behind set_blend_mode; tests replace it to count calls.
using blender_function = void (*)(int op, int source, int destination);
extern blender_function apply_blender;

}  // namespace tank
