#include <tank/resources/resource_overlay.hpp>

#include <allegro5/allegro_font.h>

#include <cstddef>

#include <tank/math/blend_mode.hpp>
#include <tank/resources/font_bin.hpp>
#include <tank/resources/graphics_bin.hpp>
#include <tank/resources/placeholders.hpp>
#include <tank/resources/sample_bin.hpp>
#include <tank/resources/to_text.hpp>

namespace tank {

std::array<std::string, 4> resource_overlay_lines(int object_count) {
  return {
      "Graphics Bin: " + to_text(graphics_bin.count(true)) + " (" + to_text(graphics_bin.missing_count()) +
          " missing)",
      "Objects Bin: " + to_text(object_count),
      "Fonts Bin: " + to_text(fonts_bin.count(false)) + " (" + to_text(fonts_bin.missing_count()) +
          " missing, " + to_text(fonts_bin.text_cache_count()) + " rendered in cache)",
      "Samples Bin: " + to_text(samples_bin.count(true)) + " (" + to_text(samples_bin.missing_count()) +
          " missing)",
  };
}

void draw_resource_overlay(int object_count) {
  // Null only when start-up failed, and then no frame is drawn; the library
  // would abort on it.
  if (!default_font) return;
  const std::array<std::string, 4> lines = resource_overlay_lines(object_count);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int y = 30 + 25 * static_cast<int>(i);
    draw_text_bitmap(fonts_bin.changing_text_bitmap(default_font, lines[i]), 30, y, 0, 0);
  }
}

}  // namespace tank
