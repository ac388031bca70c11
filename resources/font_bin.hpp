#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <tank/core/global.hpp>
#include <tank/resources/resource_bin.hpp>
#include <tank/resources/resource_kinds.hpp>

namespace tank {

// A rendered text is held under the font handle and the text: the same text
// in two fonts (or one file at two sizes) is two entries.
struct text_key {
  ALLEGRO_FONT* font = nullptr;  // the font it is rendered in
  std::string text;              // what it says

  // The same font and text.
  bool operator==(const text_key&) const = default;
  // Ordered by font, then text.
  friend bool operator<(const text_key& a, const text_key& b) {
    if (a.font != b.font) return std::less<ALLEGRO_FONT*>{}(a.font, b.font);
    return a.text < b.text;
  }
};

// One recently drawn changing text and when it was last drawn.
struct changing_text_entry {
  text_key key;  // the font and the text
  ALLEGRO_BITMAP* bitmap = nullptr;  // owned; null for a text that cannot be rendered
  unsigned long last_drawn = 0;  // the bin's changing_text_draws when last drawn
};

// The font bin: fonts by (file name, size), the cache of texts rendered once
// into white bitmaps, and drawing texts by font name. A font that does not
// load is answered with `default_font`.
//
// The text cache keeps every text it renders for the whole run, which suits
// labels and titles. A text that takes a new value every few frames (a score,
// a timer) is drawn with draw_changing_text instead: it keeps only the
// `changing_text_capacity` texts drawn most recently and frees the rest.
struct font_bin_class : resource_bin_class<font_key, ALLEGRO_FONT*> {
  static constexpr std::size_t changing_text_capacity = 64;  // changing texts kept

  std::map<text_key, ALLEGRO_BITMAP*> text_cache;  // owns its bitmaps; an entry may be null
  std::vector<changing_text_entry> changing_texts;  // at most changing_text_capacity
  unsigned long changing_text_draws = 0;            // orders changing_texts by use
  std::string default_font_name = "data/lacuna.ttf";  // the font of draw_text
  int default_font_size = -16;                        // and its size (negative: in pixels)

  // The font of `draw_text` and `text_bitmap_default`; loaded when next used.
  void set_default_font(const std::string& name, int size);
  ALLEGRO_FONT* get_font(const std::string& name, int size);

  // The text rendered in white, from the cache or rendered and kept on first
  // use. Null for the empty text (nothing is stored) and for a text that
  // cannot be rendered (the null is stored, so it is not tried again).
  ALLEGRO_BITMAP* get_text_bitmap(ALLEGRO_FONT* font, const std::string& text);
  ALLEGRO_BITMAP* create_text_bitmap(ALLEGRO_FONT* font, const std::string& text);
  // A new bitmap as wide as the text and one line high, every pixel of the
  // colour's (r, g, b), the glyph coverage times the colour's alpha in its
  // alpha. Null for a null font, a text that takes no width, or a bitmap the
  // library cannot create. Leaves target, blender and blend colour as found.
  ALLEGRO_BITMAP* render_text(ALLEGRO_FONT* font, const std::string& text, ALLEGRO_COLOR color);
  int text_cache_count() const;

  // Draw a cached text onto the target in the current tint, the point
  // (w * ax, h * ay) of it on (x, y), landing on whole pixels (truncated).
  // The empty text draws nothing. Each call can also take a colour, which the
  // text is drawn in instead of the tint in force (under the blend mode in
  // force, which it leaves as it was).
  void draw_text(const std::string& text, float x, float y, float ax, float ay);
  void draw_text(const std::string& text, float x, float y, float ax, float ay, ALLEGRO_COLOR color);
  void draw_text_with_font(const std::string& name, int size, const std::string& text, float x, float y,
                           float ax, float ay);
  void draw_text_with_font(const std::string& name, int size, const std::string& text, float x, float y,
                           float ax, float ay, ALLEGRO_COLOR color);

  // Draw like draw_text, with the same pixels, position, anchor and tint, from
  // the small cache of changing texts; the text cache is left alone.
  void draw_changing_text(const std::string& text, float x, float y, float ax, float ay);
  void draw_changing_text(const std::string& text, float x, float y, float ax, float ay, ALLEGRO_COLOR color);
  void draw_changing_text_with_font(const std::string& name, int size, const std::string& text, float x,
                                    float y, float ax, float ay);
  void draw_changing_text_with_font(const std::string& name, int size, const std::string& text, float x,
                                    float y, float ax, float ay, ALLEGRO_COLOR color);
  // The bitmap of a changing text: kept while it is among the most recently
  // drawn, so do not hold on to it. Null for the empty text.
  ALLEGRO_BITMAP* changing_text_bitmap(ALLEGRO_FONT* font, const std::string& text);

  // Null for the empty text.
  ALLEGRO_BITMAP* text_bitmap(const std::string& name, int size, const std::string& text);
  ALLEGRO_BITMAP* text_bitmap_default(const std::string& text);
};

// A framework global, usable from the constructors of globals in any file
// (tank/core/global.hpp).
extern global_instance<font_bin_class> fonts_bin_instance;
extern font_bin_class& fonts_bin;
static global_user<fonts_bin_instance> fonts_bin_user;

// Draws a rendered text onto the target in the current tint (or in `color`),
// the point (w * ax, h * ay) of it on (x, y), truncated to whole pixels;
// nothing for null.
void draw_text_bitmap(ALLEGRO_BITMAP* bitmap, float x, float y, float ax, float ay);
void draw_text_bitmap(ALLEGRO_BITMAP* bitmap, float x, float y, float ax, float ay, ALLEGRO_COLOR color);

// The same operations on the global bin, each in the tint in force or in a
// colour of its own.
void draw_text(const std::string& text, float x, float y, float ax, float ay);
void draw_text(const std::string& text, float x, float y, float ax, float ay, ALLEGRO_COLOR color);
void draw_text_with_font(const std::string& name, int size, const std::string& text, float x, float y,
                         float ax, float ay);
void draw_text_with_font(const std::string& name, int size, const std::string& text, float x, float y,
                         float ax, float ay, ALLEGRO_COLOR color);
void draw_changing_text(const std::string& text, float x, float y, float ax, float ay);
void draw_changing_text(const std::string& text, float x, float y, float ax, float ay, ALLEGRO_COLOR color);
void draw_changing_text_with_font(const std::string& name, int size, const std::string& text, float x,
                                  float y, float ax, float ay);
void draw_changing_text_with_font(const std::string& name, int size, const std::string& text, float x,
                                  float y, float ax, float ay, ALLEGRO_COLOR color);
ALLEGRO_BITMAP* text_bitmap(const std::string& name, int size, const std::string& text);
ALLEGRO_BITMAP* text_bitmap_default(const std::string& text);

}  // namespace tank
