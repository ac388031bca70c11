#include "resources/resource_overlay.hpp"

#include <allegro5/allegro_font.h>

#include <cstddef>

#include "animation/object_registry.hpp"
#include "math/blend_mode.hpp"
#include "resources/font_bin.hpp"
#include "resources/graphics_bin.hpp"
#include "resources/placeholders.hpp"
#include "resources/to_text.hpp"

std::array<std::string, 3> resource_overlay_lines() {
  return {
      "Graphics Bin: " + to_text(graphics_bin.count(true)) + " (" + to_text(graphics_bin.missing_count()) +
          " missing)",
      "Objects Bin: " + to_text(static_cast<int>(object_registry.objects.size())),
      "Fonts Bin: " + to_text(fonts_bin.count(false)) + " (" + to_text(fonts_bin.missing_count()) +
          " missing, " + to_text(fonts_bin.text_cache_count()) + " rendered in cache)",
  };
}

void draw_resource_overlay() {
  // Null only when start-up failed, and then no frame is drawn; the library
  // would abort on it.
  if (!default_font) return;
  const std::array<std::string, 3> lines = resource_overlay_lines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int y = 30 + 25 * static_cast<int>(i);
    al_draw_text(default_font, current_tint(), 30, y, 0, lines[i].c_str());
  }
}
