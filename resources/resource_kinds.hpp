#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>

#include <compare>
#include <string>

namespace tank {

// The three kinds of resource the program loads: images, fonts and samples.
// These loaders are the one loading rule, used by the bins and by start-up
// for the placeholders alike. Each answers null when the file cannot be
// loaded, and without opening it when the path names something other than a
// file (a named pipe would keep the program waiting for good).

// Images and fonts keep straight (non-premultiplied) alpha: the blend modes
// are written for it. Images are filtered when drawn scaled. A font file that
// opens but draws no glyph (a truncated one does) counts as not loaded.
ALLEGRO_BITMAP* load_image(const std::string& path);
ALLEGRO_FONT* load_font(const std::string& name, int size);
// Null as well while no audio system is installed (the library would crash
// creating a sample then), and for a damaged WAV file: one whose headers
// claim more than the file holds or describe what no real file holds
// (resources/wave_header.hpp).
ALLEGRO_SAMPLE* load_sample(const std::string& path);

// The new-bitmap flags in force, made those of a memory bitmap.
int memory_bitmap_flags();

// Frees a handle of each kind.
void destroy_resource(ALLEGRO_BITMAP* image);
void destroy_resource(ALLEGRO_FONT* font);
void destroy_resource(ALLEGRO_SAMPLE* sample);

// A font is held under its file name and size: one file at two sizes is two
// fonts. Ordered by name, then size.
struct font_key {
  std::string name;  // the file
  int size = 0;      // as load_font takes it

  // By name, then size.
  auto operator<=>(const font_key&) const = default;
};

// What a bin needs to know of its kind, chosen by the handle type: whether
// the library can load it yet, how a resource is loaded from its path and how
// its failure is worded.
template <typename T>
struct resource_kind;

// Images: ready once the image add-on is up.
template <>
struct resource_kind<ALLEGRO_BITMAP*> {
  // Whether it can load yet, the loader, and the failure's words.
  static bool ready();
  static ALLEGRO_BITMAP* load(const std::string& path) { return load_image(path); }
  static std::string failure_message(const std::string& path);
};

// Fonts, by file and size: ready once the font add-on is up.
template <>
struct resource_kind<ALLEGRO_FONT*> {
  // Whether it can load yet, the loader, and the failure's words.
  static bool ready();
  static ALLEGRO_FONT* load(const font_key& path) { return load_font(path.name, path.size); }
  static std::string failure_message(const font_key& path);
};

// Samples: ready once the library is; without an audio system they fail.
template <>
struct resource_kind<ALLEGRO_SAMPLE*> {
  // Whether it can load yet, the loader, and the failure's words.
  static bool ready();
  static ALLEGRO_SAMPLE* load(const std::string& path) { return load_sample(path); }
  static std::string failure_message(const std::string& path);
};

}  // namespace tank
