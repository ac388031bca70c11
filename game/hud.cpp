#include "game/hud.hpp"

#include <allegro5/allegro.h>

#include <algorithm>
#include <string>

#include <tank/core/settings.hpp>
#include <tank/input/controls.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>
#include <tank/resources/font_bin.hpp>
#include <tank/resources/graphics_bin.hpp>
#include <tank/resources/sample_player.hpp>
#include <tank/resources/to_text.hpp>

#include "game/tuning.hpp"
#include "game/world.hpp"

using namespace tank;

namespace {
const char* const hud_font = "data/fonts/lacuna.ttf";

void draw_hud_text(int size, const std::string& text, float x, float y) {
  fonts_bin.set_default_font(hud_font, size);
  draw_text(text, x, y, 0.0f, 0.0f);
}
}  // namespace

void draw_game() {
  draw_all_objects();

  const float bottom = static_cast<float>(display_height);
  draw_hud_text(-40, "Energy", 30.0f, bottom - 100.0f);
  // The energy as a row of large full stops; none at all at 0.
  draw_hud_text(-130, std::string(static_cast<std::size_t>(std::max(energy, 0)), '.'), 30.0f, bottom - 140.0f);
  draw_hud_text(-16, to_text(enemies_left), 30.0f, 30.0f);
  // In the top right corner, where nothing else of the HUD is.
  if (is_muted()) draw_text("muted", static_cast<float>(display_width) - 30.0f, 30.0f, 1.0f, 0.0f);

  draw_bitmap("data/images/crosshair.png", static_cast<float>(mouse_x()), static_cast<float>(mouse_y()), 0.5f,
              1.0f, 0.0f);
  // The crosshair stands in for the system pointer. A headless run has no
  // display to hide it on.
  if (ALLEGRO_DISPLAY* current = al_get_current_display()) al_hide_mouse_cursor(current);
  // Over the whole frame; its clear middle costs nothing.
  draw_overlay("data/images/vignette2.png", 0.0f, 0.0f);
}
