#include <tank/animation/curves.hpp>

namespace tank {

namespace {
constexpr float zero = 0.0f;
constexpr float one = 1.0f;
constexpr float half = 0.5f;

// Overshoot's swing above the end, and the share of it its dip below takes.
constexpr float swing = 0.2f;
constexpr float dip_share = 0.4f;

float midpoint(const float& a, const float& b) { return a + (b - a) / 2.0f; }

using primitive = float (*)(const float&, const float&, const float&);

float on_unit_span(primitive curve, float p) { return curve(zero, one, p); }
float twice_on_unit_span(primitive curve, float p) { return on_unit_span(curve, on_unit_span(curve, p)); }
}  // namespace

float normalize(const float& a, const float& b, const float& x) { return (x - a) / (b - a); }

float quad_in(const float& a, const float& b, const float& x) {
  const float t = normalize(a, b, x);
  return t * t;
}

float quad_out(const float& a, const float& b, const float& x) {
  const float t = normalize(a, b, x);
  return -(t - 1.0f) * (t - 1.0f) + 1.0f;
}

float quad_in_out(const float& a, const float& b, const float& x) {
  const float t = normalize(a, b, x);
  if (t == half) return t;
  const float mid = midpoint(a, b);
  if (t < half) return half * quad_in(a, mid, x);
  if (t > half) return half * quad_out(mid, b, x) + half;
  return 0.0f;  // NaN
}

float quad_out_in(const float& a, const float& b, const float& x) {
  const float t = normalize(a, b, x);
  if (t == half) return t;
  const float mid = midpoint(a, b);
  if (t > half) return half * quad_in(mid, b, x) + half;
  if (t < half) return half * quad_out(a, mid, x);
  return 0.0f;  // NaN
}

float overshoot(const float& a, const float& b, const float& x) {
  const float t = normalize(a, b, x);
  if (t < 0.3f) return quad_in(zero, 0.3f, t);
  if (t < 0.45f) return 1.0f + swing * quad_out(0.3f, 0.45f, t);
  // The reversed spans make the value leave the peak and the dip slowly.
  if (t < 0.6f) return 1.0f + swing * quad_out(0.6f, 0.45f, t);
  if (t < 0.75f) return 1.0f - swing * dip_share * quad_out(0.6f, 0.75f, t);
  if (t >= 0.75f) return 1.0f - swing * dip_share * quad_in_out(1.0f, 0.75f, t);
  return t;  // NaN
}

float apply_curve(float p, curve_kind kind) {
  switch (kind) {
    case curve_quad_out:
      return on_unit_span(quad_out, p);
    case curve_quad_in:
      return p * p;
    case curve_quad_out_in:
      return on_unit_span(quad_out_in, p);
    case curve_quad_in_out:
      return on_unit_span(quad_in_out, p);
    case curve_quad_out_twice:
      return twice_on_unit_span(quad_out, p);
    case curve_cubic_in:
      return p * p * p;
    case curve_quad_out_in_twice:
      return twice_on_unit_span(quad_out_in, p);
    case curve_quad_in_out_twice:
      return twice_on_unit_span(quad_in_out, p);
    case curve_overshoot:
      return on_unit_span(overshoot, p);
    default:
      return p;  // curve_linear and unknown kinds
  }
}

bool step_value(const bool& start, const bool& end, float x) { return x >= 1.0f ? end : start; }

ALLEGRO_BITMAP* step_value(ALLEGRO_BITMAP* const& start, ALLEGRO_BITMAP* const& end, float x) {
  return x >= 1.0f ? end : start;
}

}  // namespace tank
