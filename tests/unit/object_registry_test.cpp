#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include <tank/animation/curves.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>

#include "tests/support/test_clock.hpp"

using namespace tank;

// Every allocation of this test program is counted, so a test can show that
// a piece of code allocates nothing.
namespace {
std::size_t allocation_count = 0;

void* counted_allocation(std::size_t size) {
  ++allocation_count;
  return std::malloc(size == 0 ? 1 : size);
}
}  // namespace

void* operator new(std::size_t size) {
  void* memory = counted_allocation(size);
  if (memory == nullptr) std::abort();
  return memory;
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return counted_allocation(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace {

// Constructed before main and destroyed after it, like the game's global
// objects. It may well be initialised before the registry's own source file;
// under AddressSanitizer, leaving a registry that is already gone would
// show up as a use after free at exit.
Object global_object;

// The registry's entries among `wanted`, in registry order.
std::vector<Object*> entries_among(const std::vector<Object*>& wanted) {
  std::vector<Object*> found;
  for (Object* entry : object_registry.objects) {
    if (std::find(wanted.begin(), wanted.end(), entry) != wanted.end()) found.push_back(entry);
  }
  return found;
}

bool sorted_by_depth() {
  return std::is_sorted(object_registry.objects.begin(), object_registry.objects.end(),
                        [](const Object* a, const Object* b) { return a->depth < b->depth; });
}

struct ObjectRegistryTest : testing::Test {
  test_clock_class clock;
};

TEST_F(ObjectRegistryTest, GlobalObjectRegisteredBeforeMain) {
  EXPECT_EQ(std::count(object_registry.objects.begin(), object_registry.objects.end(), &global_object), 1);
}

TEST_F(ObjectRegistryTest, DestructionLeavesTheRegistry) {
  const std::size_t before = object_registry.objects.size();
  {
    Object object;
    object.x_animators.animate(0.0f, 1.0f, 0.0, 1.0, curve_linear);
    object.color_animators.animate(object.color, ALLEGRO_COLOR{1, 0, 0, 1}, 0.0, 1.0, curve_linear);
    EXPECT_EQ(object_registry.objects.size(), before + 1);
    EXPECT_EQ(entries_among({&object}).size(), 1u);
  }
  EXPECT_EQ(object_registry.objects.size(), before);
}

TEST_F(ObjectRegistryTest, UnregisterReportsWhetherItFoundTheObject) {
  Object object;
  EXPECT_FALSE(unregister_object(nullptr));
  EXPECT_TRUE(unregister_object(&object));
  EXPECT_FALSE(unregister_object(&object));
  register_object(&object);  // back in, for the destructor to take out
  const std::size_t size = object_registry.objects.size();
  register_object(nullptr);
  EXPECT_EQ(object_registry.objects.size(), size);
}

TEST_F(ObjectRegistryTest, BringToFrontClimbsAboveTheLastEntry) {
  Object object;
  Object top;
  top.depth = 4.0f;
  sort_by_depth();
  ASSERT_EQ(object_registry.objects.back(), &top);

  bring_to_front(&object);
  EXPECT_EQ(object.depth, 4.1f);
  EXPECT_EQ(object_registry.objects.back(), &object);
  // Already last: it climbs again, from its own depth.
  bring_to_front(&object);
  EXPECT_EQ(object.depth, 4.2f);
  EXPECT_EQ(object_registry.objects.back(), &object);

  const float depth = object.depth;
  bring_to_front(nullptr);
  EXPECT_EQ(object.depth, depth);
}

TEST_F(ObjectRegistryTest, EqualDepthsKeepRegistrationOrder) {
  Object objects[15];
  const std::vector<Object*> in_order = [&] {
    std::vector<Object*> pointers;
    for (Object& object : objects) pointers.push_back(&object);
    return pointers;
  }();
  EXPECT_EQ(entries_among(in_order), in_order);
  for (int tick = 0; tick < 3; ++tick) {
    update_all_objects();
    sort_by_depth();
    EXPECT_EQ(entries_among(in_order), in_order);
  }

  bring_to_front(&objects[0]);
  EXPECT_EQ(objects[0].depth, 0.1f);
  std::vector<Object*> expected(in_order.begin() + 1, in_order.end());
  expected.push_back(&objects[0]);
  EXPECT_EQ(entries_among(in_order), expected);
  EXPECT_EQ(object_registry.objects.back(), &objects[0]);
}

TEST_F(ObjectRegistryTest, DepthAnimationReordersAtTheNextTick) {
  Object low;
  Object middle;
  Object high;
  low.depth = 1.0f;
  middle.depth = 2.0f;
  high.depth = 3.0f;
  sort_by_depth();
  low.depth_animators.animate(1.0f, 2.5f, 0.0, 1.0, curve_linear);

  clock.set(0.5);
  update_all_objects();
  EXPECT_EQ(low.depth, 1.75f);
  EXPECT_EQ(entries_among({&low, &middle, &high}), (std::vector<Object*>{&low, &middle, &high}));

  clock.set(1.0);
  update_all_objects();
  EXPECT_EQ(entries_among({&low, &middle, &high}), (std::vector<Object*>{&middle, &low, &high}));
  EXPECT_TRUE(sorted_by_depth());
}

TEST_F(ObjectRegistryTest, TickWithoutStartingOrEndingAnimatorsAllocatesNothing) {
  Object objects[20];
  for (int i = 0; i < 20; ++i) objects[i].depth = static_cast<float>(i);
  sort_by_depth();
  // Running through the tick: one object sinks past two others, one rises
  // past three, others move without changing the order.
  objects[3].depth_animators.animate(3.0f, 8.5f, 0.0, 10.0, curve_linear);
  objects[15].depth_animators.animate(15.0f, 5.0f, 0.0, 10.0, curve_linear);
  objects[7].x_animators.animate(0.0f, 100.0f, 0.0, 10.0, curve_quad_out);
  objects[9].color_animators.animate(ALLEGRO_COLOR{1, 1, 1, 1}, ALLEGRO_COLOR{0, 0, 0, 0}, 0.0, 10.0,
                                     curve_overshoot);
  objects[11].flip_h_animators.animate(false, true, 0.0, 10.0, curve_linear);
  update_all_objects();

  clock.set(5.0);
  const std::size_t before = allocation_count;
  update_all_objects();
  EXPECT_EQ(allocation_count, before);

  EXPECT_EQ(objects[3].depth, 5.75f);
  EXPECT_EQ(objects[15].depth, 10.0f);
  EXPECT_TRUE(sorted_by_depth());
  // Equal depths keep their previous order: objects[15] now shares depth 10
  // with objects[10], which stood before it.
  EXPECT_EQ(entries_among({&objects[10], &objects[15]}), (std::vector<Object*>{&objects[10], &objects[15]}));
}

TEST_F(ObjectRegistryTest, ShuffledDepthsSortStably) {
  constexpr int count = 2000;
  const auto objects = std::make_unique<Object[]>(count);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> depth(0, 9);
  for (int i = 0; i < count; ++i) objects[i].depth = static_cast<float>(depth(random));
  const std::vector<Object*> before = object_registry.objects;

  sort_by_depth();

  EXPECT_TRUE(sorted_by_depth());
  // Each depth's entries in the order they had before the sort.
  for (int d = 0; d <= 9; ++d) {
    std::vector<Object*> expected;
    std::vector<Object*> found;
    for (Object* entry : before) {
      if (entry->depth == static_cast<float>(d)) expected.push_back(entry);
    }
    for (Object* entry : object_registry.objects) {
      if (entry->depth == static_cast<float>(d)) found.push_back(entry);
    }
    EXPECT_EQ(found, expected) << "depth " << d;
  }
}

TEST_F(ObjectRegistryTest, NullEntriesAreSkipped) {
  Object object;
  object.depth = -5.0f;
  object_registry.objects.push_back(nullptr);
  update_all_objects();
  EXPECT_EQ(object_registry.objects.front(), nullptr);  // stray entries sort first
  EXPECT_EQ(object_registry.objects[1], &object);
  object_registry.objects.erase(object_registry.objects.begin());
}

}  // namespace
