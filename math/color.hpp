#pragma once

#include <allegro5/allegro.h>

namespace tank {

// Channel-wise colour arithmetic, alpha included, nothing clamped.
ALLEGRO_COLOR mix_colors(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b, float t);
ALLEGRO_COLOR add_colors(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b);
void add_to_color(ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b);
bool colors_equal(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b);

}  // namespace tank
