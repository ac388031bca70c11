#include <allegro5/allegro.h>
#include <allegro5/allegro_color.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include <tank/math/blend_mode.hpp>
#include <tank/math/color.hpp>
#include <tank/math/numeric.hpp>
#include <tank/math/random.hpp>
#include <tank/math/vec2d.hpp>
#include <tank/objects/draw_cross.hpp>

#include "tests/support/library.hpp"

using namespace tank;

namespace {

TEST(Vectors, LengthNormalizeSubtractOffset) {
  EXPECT_FLOAT_EQ(length(vec2d(3, 4)), 5.0f);
  EXPECT_FLOAT_EQ(length_squared(vec2d(3, 4)), 25.0f);
  const vec2d n = normalized(vec2d(0, -7));
  EXPECT_FLOAT_EQ(n.x, 0.0f);
  EXPECT_FLOAT_EQ(n.y, -1.0f);
  EXPECT_FALSE(std::isfinite(normalized(vec2d()).x)) << "the zero vector has no direction";
  const vec2d d = subtract(vec2d(5, 7), vec2d(2, 10));
  EXPECT_EQ(d.x, 3.0f);
  EXPECT_EQ(d.y, -3.0f);
  vec2d p(1, 1);
  offset_by(p, 2, -3);
  EXPECT_EQ(p.x, 3.0f);
  EXPECT_EQ(p.y, -2.0f);
  EXPECT_FLOAT_EQ(distance(0, 0, 3, 4), 5.0f);
}

TEST(Vectors, PolarAndRotationFollowTheScreenAxes) {
  const vec2d up = from_polar(static_cast<float>(-M_PI / 2), 350);
  EXPECT_NEAR(up.x, 0.0f, 1e-4);
  EXPECT_NEAR(up.y, -350.0f, 1e-4);

  vec2d p(10, 0);
  rotate_point(p, vec2d(0, 0), -90);  // a clockwise quarter turn on screen
  EXPECT_NEAR(p.x, 0.0f, 1e-5);
  EXPECT_NEAR(p.y, 10.0f, 1e-5);

  vec2d q(12, 5);
  rotate_point(q, vec2d(2, 5), 180);
  EXPECT_NEAR(q.x, -8.0f, 1e-5);
  EXPECT_NEAR(q.y, 5.0f, 1e-5);

  // The same turns in the one convention of the rest: radians, clockwise.
  const vec2d turned = rotated(vec2d(10, 0), vec2d(0, 0), static_cast<float>(M_PI / 2));
  EXPECT_NEAR(turned.x, 0.0f, 1e-5);
  EXPECT_NEAR(turned.y, 10.0f, 1e-5);
  const vec2d along = from_polar(0.3f, 1.0f);
  const vec2d also = rotated(vec2d(1, 0), vec2d(0, 0), 0.3f);
  EXPECT_NEAR(also.x, along.x, 1e-6);
  EXPECT_NEAR(also.y, along.y, 1e-6);
}

TEST(Vectors, EdgeNormalPointsOutOfAClockwiseOutline) {
  const std::vector<vec2d> top_edge{vec2d(0, 0), vec2d(10, 0)};
  const vec2d n = edge_normal(top_edge, 0);
  EXPECT_EQ(n.x, 0.0f);
  EXPECT_EQ(n.y, -1.0f);
  const std::vector<vec2d> right_edge{vec2d(10, 0), vec2d(10, 10)};
  const vec2d m = edge_normal(right_edge, 0);
  EXPECT_EQ(m.x, 1.0f);
  EXPECT_EQ(m.y, 0.0f);
}

TEST(Numeric, FloatWrappersPowersLerpAndClamp) {
  EXPECT_NEAR(rad_to_deg(static_cast<float>(M_PI / 2)), 90.0f, 1e-4);
  EXPECT_EQ(sqrt_f(16.0f), 4.0f);
  EXPECT_EQ(abs_f(-2.5f), 2.5f);
  EXPECT_EQ(pow_int(3.0f, 2), 9.0f);
  EXPECT_EQ(pow_int(-2.0f, 3), -8.0f);
  EXPECT_EQ(pow_int(5.0f, 0), 1.0f);
  EXPECT_EQ(pow_int(2.0f, -2), 0.25f);
  EXPECT_EQ(lerp(10.0f, 20.0f, 1.2f), 22.0f);  // beyond b
  EXPECT_EQ(clamp(-0.5, 0.0, 1.0), 0.0);
  EXPECT_EQ(clamp(7.0, 0.0, 1.0), 1.0);
  EXPECT_EQ(clamp(0.0, 3.0, 1.0), 1.0);  // crossed bounds: the lower first, so hi
}

TEST(Random, RangesAreExactAndInclusive) {
  std::srand(1);
  bool saw_lo = false;
  bool saw_hi = false;
  for (int i = 0; i < 200000; ++i) {
    const int r = random_int(100, 700);
    ASSERT_GE(r, 100);
    ASSERT_LE(r, 700);
    saw_lo |= r == 100;
    saw_hi |= r == 700;
    const float f = random_float(2, 5);
    ASSERT_GE(f, 2.0f);
    ASSERT_LE(f, 5.0f);
    const double d = random_double(-1, 1);
    ASSERT_GE(d, -1.0);
    ASSERT_LE(d, 1.0);
  }
  EXPECT_TRUE(saw_lo);
  EXPECT_TRUE(saw_hi);
}

TEST(Random, EveryHelperDrawsFromTheFifteenBitGenerator) {
  // Replaying the generator shows what each helper made of one draw.
  for (unsigned seed : {1u, 7u, 99u}) {
    std::srand(seed);
    const int raw = std::rand() & 0x7FFF;
    std::srand(seed);
    EXPECT_EQ(random_15(), raw);
    std::srand(seed);
    EXPECT_EQ(random_bool(), raw % 2 == 1);
    std::srand(seed);
    EXPECT_EQ(random_int(-7500, 0), -7500 + raw % 7501);
    std::srand(seed);
    EXPECT_FLOAT_EQ(random_float(2, 5), static_cast<float>(2 + raw / 32767.0 * 3));
  }
}

TEST(Colors, MixAddCompare) {
  const ALLEGRO_COLOR black = al_map_rgba_f(0, 0, 0, 1);
  const ALLEGRO_COLOR c = al_map_rgba_f(0.8f, 0.4f, 1.0f, 0.5f);
  const ALLEGRO_COLOR m = mix_colors(black, c, 0.25f);
  EXPECT_FLOAT_EQ(m.r, 0.2f);
  EXPECT_FLOAT_EQ(m.g, 0.1f);
  EXPECT_FLOAT_EQ(m.b, 0.25f);
  EXPECT_FLOAT_EQ(m.a, 0.75f + 0.25f * 0.5f);
  const ALLEGRO_COLOR beyond = mix_colors(black, c, 2.0f);
  EXPECT_FLOAT_EQ(beyond.r, 1.6f) << "the factor is not clamped";

  ALLEGRO_COLOR sum = add_colors(c, c);
  EXPECT_FLOAT_EQ(sum.b, 2.0f) << "sums are not clamped";
  add_to_color(sum, black);
  EXPECT_FLOAT_EQ(sum.a, 2.0f);

  EXPECT_TRUE(colors_equal(c, c));
  ALLEGRO_COLOR d = c;
  d.a = std::nextafter(d.a, 1.0f);
  EXPECT_FALSE(colors_equal(c, d));
}

struct BlendModeTest : ::testing::Test {
  struct call {
    int op, source, destination;
  };
  static inline std::vector<call> calls;
  static void record(int op, int source, int destination) { calls.push_back({op, source, destination}); }
  blender_function saved = apply_blender;

  void SetUp() override {
    calls.clear();
    apply_blender = record;
    last_blend_mode = blend_mode::normal;
    last_blend_color = al_color_name("white");
  }
  void TearDown() override { apply_blender = saved; }
};

TEST_F(BlendModeTest, TheCacheAnswersRepeatsWithoutTheLibrary) {
  const ALLEGRO_COLOR white = al_color_name("white");
  set_blend_mode(blend_mode::normal, white);
  EXPECT_TRUE(calls.empty()) << "(0, white) is the state the cache starts in";

  const ALLEGRO_COLOR c = al_map_rgba_f(0.5f, 0.5f, 0.5f, 1);
  set_blend_mode(blend_mode::additive, c);
  set_blend_mode(blend_mode::additive, c);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].source, ALLEGRO_ONE);
  EXPECT_EQ(calls[0].destination, ALLEGRO_ONE);

  ALLEGRO_COLOR nudged = c;
  nudged.g = std::nextafter(nudged.g, 1.0f);
  set_blend_mode(blend_mode::additive, nudged);
  EXPECT_EQ(calls.size(), 1u) << "the factors depend on the mode alone";
  EXPECT_TRUE(colors_equal(current_tint(), nudged)) << "any change of one channel reaches the tint";
}

// A held drawing batch ends wherever the library's blender is set, so sprites
// of many tints in one mode must not set it: only a change of mode does.
TEST_F(BlendModeTest, NewTintsInOneModeAreOnlyRecorded) {
  const ALLEGRO_COLOR tints[] = {al_map_rgba_f(1, 0, 0, 1), al_map_rgba_f(0, 1, 0, 0.5f),
                                 al_color_name("white"), al_map_rgba_f(0.2f, 0.4f, 0.6f, 1)};
  for (const ALLEGRO_COLOR& tint : tints) {
    set_blend_mode(blend_mode::normal, tint);
    EXPECT_TRUE(colors_equal(current_tint(), tint));
    EXPECT_TRUE(colors_equal(last_blend_color, tint));
  }
  EXPECT_TRUE(calls.empty());

  set_blend_mode(blend_mode::additive, tints[0]);
  set_blend_mode(blend_mode::normal, tints[0]);
  EXPECT_EQ(calls.size(), 2u) << "each change of mode reaches the library";
  EXPECT_TRUE(colors_equal(current_tint(), tints[0]));

  set_blend_mode(blend_mode::unchanged, tints[1]);
  set_blend_mode(blend_mode::unchanged, tints[2]);
  EXPECT_EQ(calls.size(), 2u);
  EXPECT_TRUE(colors_equal(current_tint(), tints[0])) << "mode 4 keeps the tint in force";
  EXPECT_TRUE(colors_equal(last_blend_color, tints[2]));
}

TEST_F(BlendModeTest, FactorsOfEveryMode) {
  const ALLEGRO_COLOR white = al_color_name("white");
  const struct {
    int mode, source, destination;
  } table[] = {{1, ALLEGRO_ONE, ALLEGRO_ONE},
               {2, ALLEGRO_ONE, ALLEGRO_ALPHA},
               {3, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA},
               {5, ALLEGRO_ZERO, ALLEGRO_INVERSE_ALPHA},
               {6, ALLEGRO_ALPHA, ALLEGRO_ONE},
               {0, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA},
               {42, ALLEGRO_ALPHA, ALLEGRO_INVERSE_ALPHA}};
  for (const auto& row : table) {
    calls.clear();
    set_blend_mode(static_cast<blend_mode>(row.mode), white);
    ASSERT_EQ(calls.size(), 1u) << "mode " << row.mode;
    EXPECT_EQ(calls[0].op, ALLEGRO_ADD);
    EXPECT_EQ(calls[0].source, row.source) << "mode " << row.mode;
    EXPECT_EQ(calls[0].destination, row.destination) << "mode " << row.mode;
  }
}

TEST_F(BlendModeTest, ModeFourLeavesTheBlenderAndTintInForce) {
  const ALLEGRO_COLOR red = al_map_rgba_f(1, 0, 0, 1);
  const ALLEGRO_COLOR blue = al_map_rgba_f(0, 0, 1, 1);
  set_blend_mode(blend_mode::additive, red);
  calls.clear();
  set_blend_mode(blend_mode::unchanged, blue);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(last_blend_mode, blend_mode::unchanged) << "the cache still records the request";
  EXPECT_TRUE(colors_equal(last_blend_color, blue));
  EXPECT_TRUE(colors_equal(current_tint(), red)) << "the blender stays as it was";
  set_blend_mode(blend_mode::unchanged, blue);
  EXPECT_TRUE(calls.empty());
}

TEST_F(BlendModeTest, TheLibraryCanBeBroughtInLineWithTheCache) {
  const ALLEGRO_COLOR green = al_map_rgba_f(0, 1, 0, 1);
  set_blend_mode(blend_mode::cut_out, green);
  calls.clear();
  apply_cached_blend_mode();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].source, ALLEGRO_ZERO);
  EXPECT_EQ(calls[0].destination, ALLEGRO_INVERSE_ALPHA);
  EXPECT_TRUE(colors_equal(current_tint(), green));
}

TEST(DrawCross, TwoArmsOfFivePixels) {
  ASSERT_TRUE(start_headless_library());
  ALLEGRO_BITMAP* target = al_create_bitmap(200, 100);
  al_set_target_bitmap(target);
  al_clear_to_color(al_map_rgb(0, 0, 0));
  draw_cross(100, 50, al_map_rgb(255, 0, 0));
  auto lit = [](int x, int y) { return al_get_pixel(al_get_target_bitmap(), x, y).r > 0.5f; };
  int vertical = 0;
  int horizontal = 0;
  for (int i = 30; i < 70; ++i) {
    vertical += lit(100, i) || lit(99, i);
    horizontal += lit(i + 50, 50) || lit(i + 50, 49);
  }
  EXPECT_NEAR(vertical, 10, 1);
  EXPECT_NEAR(horizontal, 10, 1);
  EXPECT_FALSE(lit(100, 40));
  EXPECT_FALSE(lit(90, 50));
  al_set_target_bitmap(nullptr);
  al_destroy_bitmap(target);
  al_uninstall_system();
}

}  // namespace
