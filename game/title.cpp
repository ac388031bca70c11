#include "game/title.hpp"

#include <tank/animation/curves.hpp>
#include <tank/resources/sample_player.hpp>

#include "game/world.hpp"

using namespace tank;

namespace {
const double pop_seconds = 0.4;
const double shown_until = 2.0;  // seconds after the start when the pop-out begins

// One property of the title: up from 0 at once, down again after the show.
void appear(animator_list_class<float>& list, curve_kind in_curve) {
  list.animate(0.0f, 1.0f, 0.0, pop_seconds, in_curve);
  list.animate(1.0f, 0.0f, shown_until, pop_seconds, curve_cubic_in);
}
}  // namespace

void show_title() {
  play_sample("data/sounds/title.wav", {.gain = 0.8f});
  // The curves of pop_in: a quick fade, the scale eased in.
  appear(title_text.opacity_animators, curve_quad_out_twice);
  appear(title_text.scale_x_animators, curve_cubic_in);
  appear(title_text.scale_y_animators, curve_cubic_in);
}

void hide_title() {
  // Dropping the animators also drops the pending pop-out, which would
  // otherwise bring the title back at full size before shrinking it.
  title_text.clear_animators();
  title_text.opacity_animators.set_value(0.0f);
  title_text.scale_x_animators.set_value(0.0f);
  title_text.scale_y_animators.set_value(0.0f);
}
