#include <tank/resources/resource_kinds.hpp>

#include <allegro5/allegro_image.h>
#include <allegro5/allegro_ttf.h>

#include <filesystem>
#include <system_error>

#include <tank/core/settings.hpp>
#include <tank/resources/new_bitmap_flags.hpp>
#include <tank/resources/to_text.hpp>
#include <tank/resources/wave_header.hpp>

namespace tank {

namespace {
std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// Whether the path names something other than a file: a named pipe, where
// opening waits for a writer that may never come, a device that may never
// end, a directory. A path the file system cannot tell about (none there, no
// access) is left to the library, which may also read through an interface
// of its own (an archive).
bool names_no_file(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_type type = std::filesystem::status(path, error).type();
  return type != std::filesystem::file_type::regular && type != std::filesystem::file_type::not_found &&
         type != std::filesystem::file_type::none;
}

// A damaged font file can open and still have no glyph that draws anything.
bool draws_glyphs(const ALLEGRO_FONT* font) {
  for (const int codepoint : {'A', 'a', '0', '.'}) {
    int x = 0, y = 0, w = 0, h = 0;
    if (al_get_glyph_dimensions(font, codepoint, &x, &y, &w, &h) && w > 0 && h > 0) return true;
  }
  return false;
}
}  // namespace

int memory_bitmap_flags() { return (al_get_new_bitmap_flags() & ~ALLEGRO_VIDEO_BITMAP) | ALLEGRO_MEMORY_BITMAP; }

ALLEGRO_BITMAP* load_image(const std::string& path) {
  if (names_no_file(path)) return nullptr;
  // Sprites are drawn scaled (an exploding enemy swells twentyfold): filtered,
  // they stay smooth instead of turning into blocks. Drawn unscaled on whole
  // pixels, filtering changes nothing.
  const new_bitmap_flags_in_scope filtered(with_filtering(al_get_new_bitmap_flags(), smooth_images));
  return al_load_bitmap_flags(path.c_str(), ALLEGRO_NO_PREMULTIPLIED_ALPHA);
}

ALLEGRO_FONT* load_font(const std::string& name, int size) {
  if (names_no_file(name)) return nullptr;
  // A font keeps its glyphs in bitmaps of the kind in force when it loads.
  // They are only ever drawn into the memory bitmaps that texts are rendered
  // in, and a glyph cache in memory fills at once, where a video one costs up
  // to a fifth of a second for a large size on a software renderer.
  const new_bitmap_flags_in_scope in_memory(memory_bitmap_flags());
  ALLEGRO_FONT* font = al_load_ttf_font(name.c_str(), size, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
  // Such a font would draw every text as nothing: treat it as not loaded, so
  // the failure is recorded and the default font stands in.
  if (font && !draws_glyphs(font)) {
    al_destroy_font(font);
    return nullptr;
  }
  return font;
}

ALLEGRO_SAMPLE* load_sample(const std::string& path) {
  if (!al_is_audio_installed() || names_no_file(path)) return nullptr;
  // The library would allocate whatever the header claims, however little
  // the file holds, and play what no real file holds.
  if (wave_header_is_damaged(path)) return nullptr;
  return al_load_sample(path.c_str());
}

void destroy_resource(ALLEGRO_BITMAP* image) { al_destroy_bitmap(image); }
void destroy_resource(ALLEGRO_FONT* font) { al_destroy_font(font); }
void destroy_resource(ALLEGRO_SAMPLE* sample) { al_destroy_sample(sample); }

bool resource_kind<ALLEGRO_BITMAP*>::ready() { return al_is_image_addon_initialized(); }
bool resource_kind<ALLEGRO_FONT*>::ready() { return al_is_ttf_addon_initialized(); }
// Without an audio system a sample cannot load now or later: that is a
// failure to record, not a wait.
bool resource_kind<ALLEGRO_SAMPLE*>::ready() { return al_is_system_installed(); }

std::string resource_kind<ALLEGRO_BITMAP*>::failure_message(const std::string& path) {
  return "could not load image " + quoted(path);
}

std::string resource_kind<ALLEGRO_FONT*>::failure_message(const font_key& path) {
  return "could not load font " + quoted(path.name) + " (size " + to_text(path.size) + ")";
}

std::string resource_kind<ALLEGRO_SAMPLE*>::failure_message(const std::string& path) {
  return "could not load sample " + quoted(path);
}

}  // namespace tank
