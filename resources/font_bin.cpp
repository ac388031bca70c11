#include <tank/resources/font_bin.hpp>

#include <allegro5/allegro_color.h>

#include <cmath>

#include <tank/core/drawing_hold.hpp>
#include <tank/math/blend_mode.hpp>
#include <tank/resources/placeholders.hpp>

namespace tank {

constinit global_instance<font_bin_class> fonts_bin_instance;
constinit font_bin_class& fonts_bin = fonts_bin_instance.object();

void font_bin_class::set_default_font(const std::string& name, int size) {
  default_font_name = name;
  default_font_size = size;
}

ALLEGRO_FONT* font_bin_class::get_font(const std::string& name, int size) {
  const font_key key{name, size};
  ALLEGRO_FONT* font = get(key, key);
  return font ? font : default_font;
}

ALLEGRO_BITMAP* font_bin_class::get_text_bitmap(ALLEGRO_FONT* font, const std::string& text) {
  if (text.empty()) return nullptr;
  if (auto found = text_cache.find(text_key{font, text}); found != text_cache.end()) return found->second;
  return create_text_bitmap(font, text);
}

ALLEGRO_BITMAP* font_bin_class::create_text_bitmap(ALLEGRO_FONT* font, const std::string& text) {
  if (text.empty()) return nullptr;
  ALLEGRO_BITMAP* bitmap = render_text(font, text, al_color_name("white"));
  return text_cache.emplace(text_key{font, text}, bitmap).first->second;
}

ALLEGRO_BITMAP* font_bin_class::render_text(ALLEGRO_FONT* font, const std::string& text,
                                            ALLEGRO_COLOR color) {
  if (!font) return nullptr;
  const int width = al_get_text_width(font, text.c_str());
  const int height = al_get_font_line_height(font);
  // The library would hand out a bitmap of zero width, which nothing can draw.
  if (width <= 0 || height <= 0) return nullptr;

  // May be called in the middle of a frame, even while sprites are batched.
  const drawing_hold_released between_batches;
  ALLEGRO_STATE state;
  al_store_state(&state, ALLEGRO_STATE_NEW_BITMAP_PARAMETERS | ALLEGRO_STATE_TARGET_BITMAP | ALLEGRO_STATE_BLENDER);
  // Rendered in memory, beside the font's glyphs (see load_font), then handed
  // over as the kind of bitmap the caller creates.
  al_set_new_bitmap_flags(memory_bitmap_flags());
  ALLEGRO_BITMAP* bitmap = al_create_bitmap(width, height);
  if (bitmap) {
    float r = 0, g = 0, b = 0, a = 0;
    al_unmap_rgba_f(color, &r, &g, &b, &a);
    // Every pixel takes the colour from the clear; the glyphs write only alpha.
    // Kerned glyphs overlap ("TA"): each one's coverage goes over what the
    // ones before it left, so a glyph's empty corner never erases its
    // neighbour.
    al_set_target_bitmap(bitmap);
    al_clear_to_color(al_map_rgba_f(r, g, b, 0));
    al_set_separate_blender(ALLEGRO_ADD, ALLEGRO_ZERO, ALLEGRO_ONE, ALLEGRO_ADD, ALLEGRO_ONE, ALLEGRO_INVERSE_ALPHA);
    al_draw_text(font, al_map_rgba_f(1, 1, 1, a), 0, 0, 0, text.c_str());
  }
  al_restore_state(&state);
  if (bitmap) al_convert_bitmap(bitmap);
  return bitmap;
}

int font_bin_class::text_cache_count() const { return static_cast<int>(text_cache.size()); }

// Texts land on whole pixels. std::trunc rather than a cast to int: a
// position far off screen cannot overflow.
void draw_text_bitmap(ALLEGRO_BITMAP* bitmap, float x, float y, float ax, float ay) {
  draw_text_bitmap(bitmap, x, y, ax, ay, current_tint());
}

// The text's bitmap is white: drawn tinted, it takes the colour.
void draw_text_bitmap(ALLEGRO_BITMAP* bitmap, float x, float y, float ax, float ay, ALLEGRO_COLOR color) {
  if (!bitmap) return;
  const float w = al_get_bitmap_width(bitmap);
  const float h = al_get_bitmap_height(bitmap);
  al_draw_tinted_bitmap(bitmap, color, std::trunc(x - w * ax), std::trunc(y - h * ay), 0);
}

void font_bin_class::draw_text(const std::string& text, float x, float y, float ax, float ay) {
  draw_text(text, x, y, ax, ay, current_tint());
}

void font_bin_class::draw_text(const std::string& text, float x, float y, float ax, float ay,
                               ALLEGRO_COLOR color) {
  draw_text_with_font(default_font_name, default_font_size, text, x, y, ax, ay, color);
}

void font_bin_class::draw_text_with_font(const std::string& name, int size, const std::string& text, float x,
                                         float y, float ax, float ay) {
  draw_text_with_font(name, size, text, x, y, ax, ay, current_tint());
}

void font_bin_class::draw_text_with_font(const std::string& name, int size, const std::string& text, float x,
                                         float y, float ax, float ay, ALLEGRO_COLOR color) {
  draw_text_bitmap(text_bitmap(name, size, text), x, y, ax, ay, color);
}

void font_bin_class::draw_changing_text(const std::string& text, float x, float y, float ax, float ay) {
  draw_changing_text(text, x, y, ax, ay, current_tint());
}

void font_bin_class::draw_changing_text(const std::string& text, float x, float y, float ax, float ay,
                                        ALLEGRO_COLOR color) {
  draw_changing_text_with_font(default_font_name, default_font_size, text, x, y, ax, ay, color);
}

void font_bin_class::draw_changing_text_with_font(const std::string& name, int size, const std::string& text,
                                                  float x, float y, float ax, float ay) {
  draw_changing_text_with_font(name, size, text, x, y, ax, ay, current_tint());
}

void font_bin_class::draw_changing_text_with_font(const std::string& name, int size, const std::string& text,
                                                  float x, float y, float ax, float ay, ALLEGRO_COLOR color) {
  if (text.empty()) return;
  draw_text_bitmap(changing_text_bitmap(get_font(name, size), text), x, y, ax, ay, color);
}

ALLEGRO_BITMAP* font_bin_class::changing_text_bitmap(ALLEGRO_FONT* font, const std::string& text) {
  if (text.empty()) return nullptr;
  ++changing_text_draws;
  // A handful of entries: a linear walk finds the text or the least recently drawn.
  changing_text_entry* oldest = nullptr;
  for (changing_text_entry& entry : changing_texts) {
    if (entry.key.font == font && entry.key.text == text) {
      entry.last_drawn = changing_text_draws;
      return entry.bitmap;
    }
    if (oldest == nullptr || entry.last_drawn < oldest->last_drawn) oldest = &entry;
  }
  ALLEGRO_BITMAP* bitmap = render_text(font, text, al_color_name("white"));
  if (changing_texts.size() < changing_text_capacity) {
    changing_texts.push_back({text_key{font, text}, bitmap, changing_text_draws});
    return bitmap;
  }
  {
    // The old bitmap may wait in a batch of held drawing: let it be drawn first.
    const drawing_hold_released between_batches;
    if (oldest->bitmap) al_destroy_bitmap(oldest->bitmap);
  }
  *oldest = {text_key{font, text}, bitmap, changing_text_draws};
  return bitmap;
}

ALLEGRO_BITMAP* font_bin_class::text_bitmap(const std::string& name, int size, const std::string& text) {
  if (text.empty()) return nullptr;
  return get_text_bitmap(get_font(name, size), text);
}

ALLEGRO_BITMAP* font_bin_class::text_bitmap_default(const std::string& text) {
  return text_bitmap(default_font_name, default_font_size, text);
}

void draw_text(const std::string& text, float x, float y, float ax, float ay) {
  fonts_bin.draw_text(text, x, y, ax, ay);
}

void draw_text(const std::string& text, float x, float y, float ax, float ay, ALLEGRO_COLOR color) {
  fonts_bin.draw_text(text, x, y, ax, ay, color);
}

void draw_text_with_font(const std::string& name, int size, const std::string& text, float x, float y,
                         float ax, float ay) {
  fonts_bin.draw_text_with_font(name, size, text, x, y, ax, ay);
}

void draw_text_with_font(const std::string& name, int size, const std::string& text, float x, float y,
                         float ax, float ay, ALLEGRO_COLOR color) {
  fonts_bin.draw_text_with_font(name, size, text, x, y, ax, ay, color);
}

void draw_changing_text(const std::string& text, float x, float y, float ax, float ay) {
  fonts_bin.draw_changing_text(text, x, y, ax, ay);
}

void draw_changing_text(const std::string& text, float x, float y, float ax, float ay, ALLEGRO_COLOR color) {
  fonts_bin.draw_changing_text(text, x, y, ax, ay, color);
}

void draw_changing_text_with_font(const std::string& name, int size, const std::string& text, float x, float y,
                                  float ax, float ay) {
  fonts_bin.draw_changing_text_with_font(name, size, text, x, y, ax, ay);
}

void draw_changing_text_with_font(const std::string& name, int size, const std::string& text, float x, float y,
                                  float ax, float ay, ALLEGRO_COLOR color) {
  fonts_bin.draw_changing_text_with_font(name, size, text, x, y, ax, ay, color);
}

ALLEGRO_BITMAP* text_bitmap(const std::string& name, int size, const std::string& text) {
  return fonts_bin.text_bitmap(name, size, text);
}

ALLEGRO_BITMAP* text_bitmap_default(const std::string& text) { return fonts_bin.text_bitmap_default(text); }

}  // namespace tank
