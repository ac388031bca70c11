#include <tank/math/color.hpp>

namespace tank {

namespace {
float mix(float a, float b, float t) { return (1.0f - t) * a + t * b; }
}  // namespace

ALLEGRO_COLOR mix_colors(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b, float t) {
  return ALLEGRO_COLOR{mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t), mix(a.a, b.a, t)};
}

ALLEGRO_COLOR add_colors(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b) {
  return ALLEGRO_COLOR{a.r + b.r, a.g + b.g, a.b + b.b, a.a + b.a};
}

void add_to_color(ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b) { a = add_colors(a, b); }

bool colors_equal(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

}  // namespace tank
