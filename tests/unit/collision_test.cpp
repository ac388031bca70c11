#include <allegro5/allegro.h>
#include <gtest/gtest.h>

#include <cmath>

#include <tank/objects/object.hpp>
#include <tank/objects/object_collision.hpp>

#include "tests/support/library.hpp"

using namespace tank;

namespace {

struct CollisionTest : ::testing::Test {
  static inline ALLEGRO_BITMAP* square = nullptr;  // 10 x 10

  static void SetUpTestSuite() {
    ASSERT_TRUE(start_headless_library());
    square = al_create_bitmap(10, 10);
  }
  static void TearDownTestSuite() {
    al_destroy_bitmap(square);
    al_uninstall_system();
  }

  static void place(Object& o, float x, float y, float align, float rotation = 0.0f) {
    o.set_bitmap(square, true);
    o.x = x;
    o.y = y;
    o.align_x = align;
    o.align_y = align;
    o.rotation = rotation;
  }
};

TEST_F(CollisionTest, UnrotatedBoxesCountTouchingEdges) {
  Object a;
  Object b;
  place(a, 0, 0, 0);
  place(b, 10, 0, 0);
  EXPECT_TRUE(collides(a, b)) << "edges at x = 10 touch";
  EXPECT_TRUE(collides(b, a));
  b.x = 10.5f;
  EXPECT_FALSE(collides(a, b));
  place(b, 0, -10, 0);
  EXPECT_TRUE(collides(a, b)) << "touching vertically";
  b.y = -10.5f;
  EXPECT_FALSE(collides(a, b));

  const box bx = box_of(a);
  EXPECT_EQ(bx.center.x, 5.0f);
  EXPECT_EQ(bx.center.y, 5.0f);
  EXPECT_EQ(bx.half_size.x, 5.0f);
}

TEST_F(CollisionTest, TheRotatedEdgeSeparatesWhatTheBoxesWouldJoin) {
  Object a;
  Object b;
  place(a, 0, 0, 0.5f);
  place(b, 9.9f, 9.9f, 0.5f, static_cast<float>(M_PI / 4));
  EXPECT_TRUE(boxes_overlap(box_of(a), box_of(b)));
  EXPECT_FALSE(collides(a, b));
  EXPECT_FALSE(collides(b, a));

  b.x = 7.0f;
  b.y = 7.0f;
  EXPECT_TRUE(collides(a, b)) << "the diamond's tip reaches into the square";

  // Both turned by a quarter: the same squares as unrotated, overlapping.
  place(a, 0, 0, 0.5f, static_cast<float>(M_PI / 2));
  place(b, 9.0f, 0, 0.5f, static_cast<float>(M_PI / 2));
  EXPECT_TRUE(collides(a, b));
  b.x = 11.0f;
  EXPECT_FALSE(collides(a, b));
}

TEST_F(CollisionTest, DegenerateRectanglesNeverCollideWhenRotated) {
  Object big;
  place(big, 0, 0, 0.5f, 0.3f);
  Object no_bitmap;  // 0 x 0 at the centre of big
  EXPECT_FALSE(rects_overlap_rotated(big, no_bitmap));
  EXPECT_FALSE(rects_overlap_rotated(no_bitmap, big));
  EXPECT_FALSE(collides(big, no_bitmap));

  Object flat;
  place(flat, 0, 0, 0.5f);
  flat.scale_y = 0.0f;
  EXPECT_FALSE(rects_overlap_rotated(big, flat));
  EXPECT_FALSE(rects_overlap_rotated(flat, big));
}

TEST(Projection, OntoAnAxisOfAnyLength) {
  const vec2d p = project_onto(vec2d(3, 4), vec2d(2, 0));
  EXPECT_EQ(p.x, 3.0f);
  EXPECT_EQ(p.y, 0.0f);
  const vec2d q = project_onto(vec2d(2, 0), vec2d(1, 1));
  EXPECT_FLOAT_EQ(q.x, 1.0f);
  EXPECT_FLOAT_EQ(q.y, 1.0f);
  const vec2d origin = project_onto(vec2d(3, 4), vec2d(0, 0));
  EXPECT_EQ(origin.x, 0.0f) << "the zero axis spans only the origin";
  EXPECT_EQ(origin.y, 0.0f);
  EXPECT_EQ(dot(1, 2, 3, 4), 11.0f);
}

TEST(Shapes, RectanglesAndPoints) {
  EXPECT_FALSE(rects_overlap(0, 0, 10, 10, 10, 0, 20, 10)) << "touching does not count";
  EXPECT_TRUE(rects_overlap(0, 0, 10, 10, 9.5f, 9.5f, 20, 20));
  EXPECT_FALSE(rects_overlap(0, 0, 10, 10, 0, 10, 10, 20));
  EXPECT_TRUE(point_in_rect(10, 10, 0, 0, 10, 10)) << "edges are inside";
  EXPECT_TRUE(point_in_rect(0, 0, 0, 0, 10, 10));
  EXPECT_FALSE(point_in_rect(10.01f, 5, 0, 0, 10, 10));
  EXPECT_FALSE(point_in_rect(5, -0.01f, 0, 0, 10, 10));
}

TEST(Shapes, CirclesCountTheirRim) {
  EXPECT_TRUE(point_in_circle(3, 4, 0, 0, 5));
  EXPECT_FALSE(point_in_circle(3, 4.01f, 0, 0, 5));
  EXPECT_TRUE(circles_overlap(0, 0, 5, 10, 0, 5)) << "centres 10 apart touch";
  EXPECT_FALSE(circles_overlap(0, 0, 5, 10.01f, 0, 5));
}

TEST(Shapes, CircleAgainstSegment) {
  // Segment from (0, 0) to (10, 0); the circle of radius 2.
  EXPECT_FALSE(circle_hits_segment(5, 2, 2, 0, 0, 10, 0)) << "exactly r away does not hit";
  EXPECT_TRUE(circle_hits_segment(5, 1.9f, 2, 0, 0, 10, 0));
  EXPECT_TRUE(circle_hits_segment(11.5f, 0, 2, 0, 0, 10, 0)) << "beyond the first end";
  EXPECT_TRUE(circle_hits_segment(-1.5f, 0, 2, 0, 0, 10, 0)) << "beyond the second end";
  EXPECT_FALSE(circle_hits_segment(12.5f, 1, 2, 0, 0, 10, 0));
  EXPECT_FALSE(circle_hits_segment(-2.5f, 0, 2, 0, 0, 10, 0));
  // A segment of zero length is a point.
  EXPECT_TRUE(circle_hits_segment(1, 1, 2, 0, 0, 0, 0));
  EXPECT_FALSE(circle_hits_segment(3, 0, 2, 0, 0, 0, 0));
}

TEST(Shapes, CrossPositiveMeansClockwiseOnScreen) {
  EXPECT_TRUE(cross_positive(0, 0, 10, 0, 10, 10));
  EXPECT_FALSE(cross_positive(0, 0, 10, 0, 10, -10));
  EXPECT_FALSE(cross_positive(0, 0, 10, 0, 20, 0)) << "a straight path does not turn";
}

}  // namespace
