#include <tank/math/blend_mode.hpp>

#include <tank/core/drawing_hold.hpp>
#include <tank/math/color.hpp>

namespace tank {

blend_mode last_blend_mode = blend_mode::normal;
// Constant initialised (white), so it holds before any global's constructor.
constinit ALLEGRO_COLOR last_blend_color{1.0f, 1.0f, 1.0f, 1.0f};
blender_function apply_blender = al_set_blender;

namespace {
constinit ALLEGRO_COLOR tint_in_force{1.0f, 1.0f, 1.0f, 1.0f};

void apply(blend_mode mode, const ALLEGRO_COLOR& color) {
  int source = ALLEGRO_ALPHA;
  int destination = ALLEGRO_INVERSE_ALPHA;
  switch (mode) {
    case blend_mode::additive: source = ALLEGRO_ONE; destination = ALLEGRO_ONE; break;
    case blend_mode::one_alpha: source = ALLEGRO_ONE; destination = ALLEGRO_ALPHA; break;
    case blend_mode::unchanged: return;
    case blend_mode::cut_out: source = ALLEGRO_ZERO; destination = ALLEGRO_INVERSE_ALPHA; break;
    case blend_mode::additive_alpha: destination = ALLEGRO_ONE; break;
    default: break;  // normal, alpha and any other number
  }
  const drawing_hold_released between_batches;
  apply_blender(ALLEGRO_ADD, source, destination);
  tint_in_force = color;
}
}  // namespace

void set_blend_mode(blend_mode mode, const ALLEGRO_COLOR& color) {
  if (mode == last_blend_mode && colors_equal(last_blend_color, color)) return;
  const bool same_factors = mode == last_blend_mode;
  last_blend_color = color;
  last_blend_mode = mode;
  // The factors depend on the mode alone: a new tint in the same mode is only
  // recorded, so sprites of different tints stay in one drawing batch.
  if (same_factors) {
    if (mode != blend_mode::unchanged) tint_in_force = color;
    return;
  }
  apply(mode, color);
}

void apply_cached_blend_mode() { apply(last_blend_mode, last_blend_color); }

ALLEGRO_COLOR current_tint() { return tint_in_force; }

}  // namespace tank
