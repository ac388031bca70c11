#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include <tank/resources/overlay_parts.hpp>

using namespace tank;

namespace {

TEST(OverlayParts, AClearRectangleLeavesFourStripsAroundItsInsideEdge) {
  std::vector<std::uint8_t> alpha(40 * 30, 255);
  for (int y = 8; y < 22; ++y) {
    for (int x = 10; x < 30; ++x) alpha[y * 40 + x] = 0;
  }
  // One pixel inside the clear edge, where a filtered draw meets nothing but
  // clear pixels.
  const std::vector<image_rect> parts = parts_around_clear_middle(alpha, 40, 30, 4);
  const image_rect expected[] = {{0, 0, 40, 9}, {0, 9, 11, 12}, {29, 9, 11, 12}, {0, 21, 40, 9}};
  ASSERT_EQ(parts.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(std::vector({parts[i].x, parts[i].y, parts[i].w, parts[i].h}),
              std::vector({expected[i].x, expected[i].y, expected[i].w, expected[i].h}));
  }

  // A clear run narrower than the slack is not worth a cut, and an image
  // with nothing clear is drawn whole.
  for (const auto& [mask, slack] : {std::pair{alpha, 25}, std::pair{std::vector<std::uint8_t>(40 * 30, 1), 4}}) {
    const std::vector<image_rect> whole = parts_around_clear_middle(mask, 40, 30, slack);
    ASSERT_EQ(whole.size(), 1u) << slack;
    EXPECT_EQ(whole[0].w * whole[0].h, 40 * 30) << slack;
  }
}

}  // namespace
