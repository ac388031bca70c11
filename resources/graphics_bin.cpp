#include <tank/resources/graphics_bin.hpp>

#include <cmath>
#include <cstring>

#include <tank/core/drawing_hold.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/resources/new_bitmap_flags.hpp>
#include <tank/resources/placeholders.hpp>

namespace tank {

constinit global_instance<graphics_bin_class> graphics_bin_instance;
constinit graphics_bin_class& graphics_bin = graphics_bin_instance.object();

namespace {
// Whether a fully transparent pixel drawn now leaves the target as it was:
// the source weighed by its alpha (or not at all), the target kept whole, for
// the colour and for the alpha alike.
bool clear_pixels_change_nothing() {
  int op = 0, source = 0, destination = 0, alpha_op = 0, alpha_source = 0, alpha_destination = 0;
  al_get_separate_blender(&op, &source, &destination, &alpha_op, &alpha_source, &alpha_destination);
  const auto keeps_target = [](int op, int source, int destination) {
    return (op == ALLEGRO_ADD || op == ALLEGRO_DEST_MINUS_SRC) && (source == ALLEGRO_ZERO || source == ALLEGRO_ALPHA) &&
           (destination == ALLEGRO_ONE || destination == ALLEGRO_INVERSE_ALPHA);
  };
  return keeps_target(op, source, destination) && keeps_target(alpha_op, alpha_source, alpha_destination);
}

// Whether every pixel drawn at (x, y) now takes exactly one pixel of the
// image: unscaled, at whole pixels, with no transform in force.
bool lands_on_whole_pixels(float x, float y) {
  const ALLEGRO_TRANSFORM* transform = al_get_current_transform();
  if (!transform || x != std::floor(x) || y != std::floor(y)) return false;
  ALLEGRO_TRANSFORM identity;
  al_identity_transform(&identity);
  return std::memcmp(transform, &identity, sizeof identity) == 0;
}

// The image again without filtering, where it has filtering: a software
// renderer pays about a third more for a filtered pass, also where filtering
// changes nothing, as at whole pixels. Null where it is not needed or cannot
// be made.
ALLEGRO_BITMAP* unfiltered_copy(ALLEGRO_BITMAP* image) {
  if ((al_get_bitmap_flags(image) & linear_filtering) == 0) return nullptr;
  const drawing_hold_released between_batches;
  const new_bitmap_flags_in_scope sharp(with_filtering(al_get_bitmap_flags(image), false));
  return al_clone_bitmap(image);
}
}  // namespace

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

bool graphics_bin_class::draw_overlay(const std::string& name, float x, float y) {
  ALLEGRO_BITMAP* bitmap = get(name);
  // A mipmapped image drawn small samples far beyond the pixel it draws.
  if (!bitmap || (al_get_bitmap_flags(bitmap) & ALLEGRO_MIPMAP) != 0 || !clear_pixels_change_nothing()) {
    return draw_bitmap(name, x, y, 0.0f, 1.0f, 0.0f);
  }
  overlay_entry& overlay = overlays[name];
  if (overlay.image != bitmap) overlay = {bitmap, parts_around_clear_middle(bitmap), unfiltered_copy(bitmap)};
  if (overlay.unfiltered && lands_on_whole_pixels(x, y)) bitmap = overlay.unfiltered;
  // The parts go to the renderer as one batch.
  const bool held = al_is_bitmap_drawing_held();
  if (!held) al_hold_bitmap_drawing(true);
  const ALLEGRO_COLOR tint = current_tint();
  for (const image_rect& part : overlay.parts) {
    al_draw_tinted_bitmap_region(bitmap, tint, static_cast<float>(part.x), static_cast<float>(part.y),
                                 static_cast<float>(part.w), static_cast<float>(part.h), x + static_cast<float>(part.x),
                                 y + static_cast<float>(part.y), 0);
  }
  if (!held) al_hold_bitmap_drawing(false);
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

bool draw_overlay(const std::string& name, float x, float y) { return graphics_bin.draw_overlay(name, x, y); }

void draw_missing_image(float x, float y) { graphics_bin.draw_missing_image(x, y); }

}  // namespace tank
