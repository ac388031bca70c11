#include <tank/resources/graphics_bin.hpp>

#include <tank/math/blend_mode.hpp>
#include <tank/resources/placeholders.hpp>

namespace tank {

constinit global_instance<graphics_bin_class> graphics_bin_instance;
constinit graphics_bin_class& graphics_bin = graphics_bin_instance.object();

bool graphics_bin_class::draw_bitmap(const std::string& name, float x, float y, float pivot, float scale,
                                     float angle) {
  ALLEGRO_BITMAP* bitmap = get(name);
  if (!bitmap) {
    draw_missing_image(x, y);
    return true;
  }
  const float cx = al_get_bitmap_width(bitmap) * pivot;
  const float cy = al_get_bitmap_height(bitmap) * pivot;
  al_draw_tinted_scaled_rotated_bitmap(bitmap, current_tint(), cx, cy, x, y, scale, scale, angle, 0);
  return false;
}

void graphics_bin_class::draw_missing_image(float x, float y) {
  // Null only when start-up failed, and then no frame is drawn; the library
  // would abort on it.
  if (!missing_image) return;
  al_draw_tinted_bitmap(missing_image, current_tint(), x, y, 0);
}

ALLEGRO_BITMAP* get_bitmap(const std::string& name) { return graphics_bin.get(name); }

bool bitmap_exists(const std::string& name) { return graphics_bin.get(name) != nullptr; }

bool draw_bitmap(const std::string& name, float x, float y, float pivot, float scale, float angle) {
  return graphics_bin.draw_bitmap(name, x, y, pivot, scale, angle);
}

void draw_missing_image(float x, float y) { graphics_bin.draw_missing_image(x, y); }

}  // namespace tank
