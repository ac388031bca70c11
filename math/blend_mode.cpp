#include "math/blend_mode.hpp"

#include <allegro5/allegro_color.h>

#include "math/color.hpp"
#include "math/drawing_hold.hpp"

int last_blend_mode = 0;
ALLEGRO_COLOR last_blend_color = al_color_name("white");
blender_function apply_blender = al_set_blender;

namespace {
ALLEGRO_COLOR tint_in_force = al_map_rgba_f(1, 1, 1, 1);

void apply(int mode, const ALLEGRO_COLOR& color) {
  int source = ALLEGRO_ALPHA;
  int destination = ALLEGRO_INVERSE_ALPHA;
  switch (mode) {
    case 1: source = ALLEGRO_ONE; destination = ALLEGRO_ONE; break;
    case 2: source = ALLEGRO_ONE; destination = ALLEGRO_ALPHA; break;
    case 3: break;
    case 4: return;
    case 5: source = ALLEGRO_ZERO; destination = ALLEGRO_INVERSE_ALPHA; break;
    default: break;
  }
  const drawing_hold_released between_batches;
  apply_blender(ALLEGRO_ADD, source, destination);
  tint_in_force = color;
}
}  // namespace

void set_blend_mode(int mode, const ALLEGRO_COLOR& color) {
  if (mode == last_blend_mode && colors_equal(last_blend_color, color)) return;
  last_blend_color = color;
  last_blend_mode = mode;
  apply(mode, color);
}

void apply_cached_blend_mode() { apply(last_blend_mode, last_blend_color); }

ALLEGRO_COLOR current_tint() { return tint_in_force; }
