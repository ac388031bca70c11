#include <tank/resources/overlay_parts.hpp>

#include <algorithm>
#include <cstddef>

namespace tank {

namespace {
// Columns [begin, end) of one row.
struct run {
  int begin = 0;
  int end = 0;
  int width() const { return end - begin; }
};

// Which pixels are clear together with their eight neighbours (outside the
// image counts as not clear): a filtered draw samples at most one pixel
// beyond the one it is drawing.
std::vector<std::uint8_t> clear_with_neighbours(const std::vector<std::uint8_t>& alpha, int width, int height) {
  const auto at = [width](int x, int y) { return static_cast<std::size_t>(y) * width + x; };
  std::vector<std::uint8_t> across(alpha.size(), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 1; x + 1 < width; ++x) {
      across[at(x, y)] = alpha[at(x - 1, y)] == 0 && alpha[at(x, y)] == 0 && alpha[at(x + 1, y)] == 0;
    }
  }
  std::vector<std::uint8_t> clear(alpha.size(), 0);
  for (int y = 1; y + 1 < height; ++y) {
    for (int x = 0; x < width; ++x) clear[at(x, y)] = across[at(x, y - 1)] && across[at(x, y)] && across[at(x, y + 1)];
  }
  return clear;
}

run longest_run(const std::uint8_t* row, int width) {
  run longest;
  for (int x = 0; x < width;) {
    if (!row[x]) {
      ++x;
      continue;
    }
    const int begin = x;
    while (x < width && row[x]) ++x;
    if (x - begin > longest.width()) longest = {begin, x};
  }
  return longest;
}
}  // namespace

std::vector<image_rect> parts_around_clear_middle(const std::vector<std::uint8_t>& alpha, int width, int height,
                                                  int slack) {
  if (width <= 0 || height <= 0) return {};
  if (alpha.size() != static_cast<std::size_t>(width) * height) return {{0, 0, width, height}};
  slack = std::max(slack, 1);
  const std::vector<std::uint8_t> clear = clear_with_neighbours(alpha, width, height);
  std::vector<run> runs(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    const run found = longest_run(clear.data() + static_cast<std::size_t>(y) * width, width);
    if (found.width() >= slack) runs[y] = found;
  }

  std::vector<image_rect> parts;
  for (int top = 0; top < height;) {
    run cut = runs[top];
    int bottom = top + 1;
    if (cut.width() == 0) {
      while (bottom < height && runs[bottom].width() == 0) ++bottom;
    } else {
      int widest = cut.width();
      for (; bottom < height; ++bottom) {
        const run next = runs[bottom];
        const run joined{std::max(cut.begin, next.begin), std::min(cut.end, next.end)};
        const int wider = std::max(widest, next.width());
        if (next.width() == 0 || joined.width() < slack || wider - joined.width() > slack) break;
        cut = joined;
        widest = wider;
      }
    }
    const int rows = bottom - top;
    if (cut.width() == 0) {
      parts.push_back({0, top, width, rows});
    } else {
      if (cut.begin > 0) parts.push_back({0, top, cut.begin, rows});
      if (cut.end < width) parts.push_back({cut.end, top, width - cut.end, rows});
    }
    top = bottom;
  }
  return parts;
}

std::vector<image_rect> parts_around_clear_middle(ALLEGRO_BITMAP* image) {
  const int width = al_get_bitmap_width(image);
  const int height = al_get_bitmap_height(image);
  ALLEGRO_LOCKED_REGION* region = al_lock_bitmap(image, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
  if (!region) return {{0, 0, width, height}};
  // Bytes r, g, b, a in this format, whatever the machine's byte order.
  std::vector<std::uint8_t> alpha(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(region->data) + static_cast<std::ptrdiff_t>(y) * region->pitch;
    for (int x = 0; x < width; ++x) alpha[static_cast<std::size_t>(y) * width + x] = row[4 * x + 3];
  }
  al_unlock_bitmap(image);
  return parts_around_clear_middle(alpha, width, height);
}

}  // namespace tank
