#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include <tank/resources/overlay_parts.hpp>

using namespace tank;

namespace {

struct mask {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> alpha;

  std::uint8_t at(int x, int y) const { return x < 0 || y < 0 || x >= width || y >= height ? 255 : alpha[y * width + x]; }
};

// Opaque, clear inside the ellipse through the given fraction of each half axis.
mask with_clear_ellipse(int width, int height, double reach) {
  mask m{width, height, std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height, 200)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double u = (x + 0.5 - width / 2.0) / (width / 2.0);
      const double v = (y + 0.5 - height / 2.0) / (height / 2.0);
      if (std::hypot(u, v) < reach) m.alpha[y * width + x] = 0;
    }
  }
  return m;
}

// How many parts cover each pixel.
std::vector<int> coverage(const mask& m, const std::vector<image_rect>& parts) {
  std::vector<int> covered(m.alpha.size(), 0);
  for (const image_rect& p : parts) {
    for (int y = p.y; y < p.y + p.h; ++y) {
      for (int x = p.x; x < p.x + p.w; ++x) ++covered[y * m.width + x];
    }
  }
  return covered;
}

TEST(OverlayParts, AClearRectangleLeavesFourStripsAroundItsInsideEdge) {
  mask m{40, 30, std::vector<std::uint8_t>(40 * 30, 255)};
  for (int y = 8; y < 22; ++y) {
    for (int x = 10; x < 30; ++x) m.alpha[y * 40 + x] = 0;
  }
  // One pixel inside the clear edge, where a filtered draw meets nothing but
  // clear pixels.
  const std::vector<image_rect> parts = parts_around_clear_middle(m.alpha, 40, 30, 4);
  ASSERT_EQ(parts.size(), 4u);
  const image_rect expected[] = {{0, 0, 40, 9}, {0, 9, 11, 12}, {29, 9, 11, 12}, {0, 21, 40, 9}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(parts[i].x, expected[i].x) << i;
    EXPECT_EQ(parts[i].y, expected[i].y) << i;
    EXPECT_EQ(parts[i].w, expected[i].w) << i;
    EXPECT_EQ(parts[i].h, expected[i].h) << i;
  }

  // A clear run narrower than the slack is not worth a cut, and an image
  // with nothing clear is drawn whole.
  for (const auto& [alpha, slack] : {std::pair{m.alpha, 25}, std::pair{std::vector<std::uint8_t>(40 * 30, 1), 4}}) {
    const std::vector<image_rect> whole = parts_around_clear_middle(alpha, 40, 30, slack);
    ASSERT_EQ(whole.size(), 1u) << slack;
    EXPECT_EQ(whole[0].w * whole[0].h, 40 * 30) << slack;
  }
}

TEST(OverlayParts, AnEllipseIsLeftOutAlmostWholeAndNothingElse) {
  const mask m = with_clear_ellipse(800, 600, 0.6);
  const std::vector<image_rect> parts = parts_around_clear_middle(m.alpha, 800, 600);
  const std::vector<int> covered = coverage(m, parts);
  int clear = 0;
  int left_out = 0;
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) {
      const int times = covered[y * m.width + x];
      ASSERT_LE(times, 1) << "parts overlap at " << x << ", " << y;
      clear += m.at(x, y) == 0;
      if (times == 1) continue;
      ++left_out;
      for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) ASSERT_EQ(m.at(x + dx, y + dy), 0) << "left out at " << x << ", " << y;
      }
    }
  }
  EXPECT_GT(left_out, clear * 9 / 10);
  EXPECT_LT(parts.size(), 200u) << "a batch of a few hundred triangles at most";
}

}  // namespace
