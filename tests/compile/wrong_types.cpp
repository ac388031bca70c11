// Calls that pass a number where the framework wants a kind, or copy an
// Object. Each WRONG_* case must fail to compile; with none of them defined
// the file is correct and must compile (check_wrong_types.py).

#include <tank/animation/curves.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/shapes.hpp>

void uses(tank::Object& o) {
  o.x_animators.animate({.from = 0.0f, .to = 1.0f, .duration = 1.0, .curve = tank::curve_quad_out});
  o.x_animators.animate(0.0f, 1.0f, 0.0, 1.0, tank::curve_overshoot);
  o.blend_mode = tank::blend_mode::additive;
  tank::set_blend_mode(tank::blend_mode::normal, ALLEGRO_COLOR{1, 1, 1, 1});
  o.pop_in(0.3f, tank::curve_quad_out_twice);
  tank::outline_rectangle(0, 0, 10, 10, ALLEGRO_COLOR{1, 1, 1, 1}, 2, tank::coordinates::screen);
#ifdef WRONG_CURVE_NUMBER
  o.x_animators.animate(0, 1, 0, 1, 42);
#endif
#ifdef WRONG_BLEND_NUMBER
  o.blend_mode = 7;
#endif
#ifdef WRONG_BLEND_ARGUMENT
  tank::set_blend_mode(1, ALLEGRO_COLOR{1, 1, 1, 1});
#endif
#ifdef WRONG_CURVE_ARGUMENT
  o.pop_in(0.3f, 5);
#endif
#ifdef WRONG_SPACE_NUMBER
  tank::outline_rectangle(0, 0, 10, 10, ALLEGRO_COLOR{1, 1, 1, 1}, 2, 1);
#endif
#ifdef WRONG_COPY
  tank::Object copy = o;
#endif
}
