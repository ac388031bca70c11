#pragma once

#include <allegro5/allegro.h>

#include <map>
#include <string>
#include <vector>

#include <tank/core/global.hpp>
#include <tank/resources/overlay_parts.hpp>
#include <tank/resources/resource_bin.hpp>

namespace tank {

// The image bin: images by file name, and drawing by name with the missing
// image in place of one that does not load.
struct graphics_bin_class : resource_bin_class<std::string, ALLEGRO_BITMAP*> {
  using resource_bin_class::get;
  // The named image, loaded on first use; null when it cannot be.
  ALLEGRO_BITMAP* get(const std::string& name) { return get(name, name); }

  // Draws the named image with its point (w * pivot, h * pivot) on (x, y),
  // scaled on both axes and rotated (radians) about that point. Returns true
  // when the image was missing and the placeholder was drawn instead.
  bool draw_bitmap(const std::string& name, float x, float y, float pivot, float scale, float angle);

  // Draws the named image unscaled with its top-left corner at (x, y), the
  // same pixels as draw_bitmap with pivot 0, scale 1 and angle 0, for a large
  // image over the whole frame (a vignette, a border): its fully transparent
  // middle is left out where drawing it would change nothing, that is under
  // a blender that leaves the target as it was below a clear pixel (blend
  // modes normal, alpha, cut_out and additive_alpha). The middle is found
  // from the image's pixels on first use. Returns true when the image was
  // missing and the placeholder was drawn instead.
  bool draw_overlay(const std::string& name, float x, float y);

  // The placeholder, unscaled, its top-left corner at (x, y).
  void draw_missing_image(float x, float y);

  // For each name drawn by draw_overlay, the parts its image is drawn in, the
  // image they were found in, and a copy of it without filtering (kept for the
  // run like the image; null for an image without filtering), drawn where
  // filtering changes nothing.
  struct overlay_entry {
    ALLEGRO_BITMAP* image = nullptr;       // the image the parts were found in
    std::vector<image_rect> parts;         // drawn, around the clear middle
    ALLEGRO_BITMAP* unfiltered = nullptr;  // its copy without filtering
  };
  std::map<std::string, overlay_entry> overlays;  // by image name
};

// A framework global, usable from the constructors of globals in any file
// (tank/core/global.hpp).
extern global_instance<graphics_bin_class> graphics_bin_instance;
extern graphics_bin_class& graphics_bin;
static global_user<graphics_bin_instance> graphics_bin_user;

// The same operations on the global bin.
ALLEGRO_BITMAP* get_bitmap(const std::string& name);  // loaded on first use; null when it cannot be
bool bitmap_exists(const std::string& name);          // loads, or has loaded
bool draw_bitmap(const std::string& name, float x, float y, float pivot, float scale, float angle);
bool draw_overlay(const std::string& name, float x, float y);
void draw_missing_image(float x, float y);

}  // namespace tank
