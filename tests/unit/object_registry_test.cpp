#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <deque>
#include <map>
#include <memory>
#include <new>
#include <random>
#include <utility>
#include <vector>

#include <tank/animation/curves.hpp>
#include <tank/objects/object.hpp>
#include <tank/objects/object_registry.hpp>

#include "tests/support/drawing_order.hpp"
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

bool sorted_by_depth() { return std::ranges::is_sorted(drawing_order(), {}, &Object::depth); }

struct ObjectRegistryTest : testing::Test {
  test_clock_class clock;
};

TEST_F(ObjectRegistryTest, GlobalObjectRegisteredBeforeMain) {
  const std::vector<Object*> order = drawing_order();
  EXPECT_EQ(std::count(order.begin(), order.end(), &global_object), 1);
}

TEST_F(ObjectRegistryTest, DestructionLeavesTheRegistry) {
  const int before = object_registry.count();
  {
    Object object;
    object.x_animators.animate(0.0f, 1.0f, 0.0, 1.0, curve_linear);
    object.color_animators.animate(object.color, ALLEGRO_COLOR{1, 0, 0, 1}, 0.0, 1.0, curve_linear);
    EXPECT_EQ(object_registry.count(), before + 1);
    EXPECT_EQ(drawing_order_among({&object}).size(), 1u);
  }
  EXPECT_EQ(object_registry.count(), before);
}

TEST_F(ObjectRegistryTest, UnregisterReportsWhetherItFoundTheObject) {
  Object object;
  EXPECT_FALSE(unregister_object(nullptr));
  EXPECT_TRUE(unregister_object(&object));
  EXPECT_FALSE(unregister_object(&object));
  register_object(&object);  // back in, for the destructor to take out
  const int size = object_registry.count();
  register_object(nullptr);
  register_object(&object);  // already in: listed once
  EXPECT_EQ(object_registry.count(), size);
  EXPECT_EQ(drawing_order_among({&object}).size(), 1u);
}

TEST_F(ObjectRegistryTest, BringToFrontClimbsAboveTheLastEntry) {
  Object object;
  Object top;
  top.depth = 4.0f;
  sort_by_depth();
  ASSERT_EQ(drawing_order().back(), &top);

  bring_to_front(&object);
  EXPECT_EQ(object.depth, 4.1f);
  EXPECT_EQ(drawing_order().back(), &object);
  // Already last: it climbs again, from its own depth.
  bring_to_front(&object);
  EXPECT_EQ(object.depth, 4.2f);
  EXPECT_EQ(drawing_order().back(), &object);

  const float depth = object.depth;
  bring_to_front(nullptr);
  EXPECT_EQ(object.depth, depth);
  for (const float last : {2097152.0f, 1e7f, INFINITY, NAN}) {  // 0.1 lost to rounding, nothing above
    object.depth = 0.0f;
    top.depth = last;
    sort_by_depth();
    bring_to_front(&object);
    update_all_objects();
    EXPECT_EQ(drawing_order().back(), &object) << last;
    EXPECT_TRUE(object.depth > last || object.depth == INFINITY) << last;
  }
}

TEST_F(ObjectRegistryTest, EqualDepthsKeepRegistrationOrder) {
  Object objects[15];
  const std::vector<Object*> in_order = [&] {
    std::vector<Object*> pointers;
    for (Object& object : objects) pointers.push_back(&object);
    return pointers;
  }();
  EXPECT_EQ(drawing_order_among(in_order), in_order);
  for (int tick = 0; tick < 3; ++tick) {
    update_all_objects();
    sort_by_depth();
    EXPECT_EQ(drawing_order_among(in_order), in_order);
  }

  bring_to_front(&objects[0]);
  EXPECT_EQ(objects[0].depth, 0.1f);
  std::vector<Object*> expected(in_order.begin() + 1, in_order.end());
  expected.push_back(&objects[0]);
  EXPECT_EQ(drawing_order_among(in_order), expected);
  EXPECT_EQ(drawing_order().back(), &objects[0]);
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
  EXPECT_EQ(drawing_order_among({&low, &middle, &high}), (std::vector<Object*>{&low, &middle, &high}));

  clock.set(1.0);
  update_all_objects();
  EXPECT_EQ(drawing_order_among({&low, &middle, &high}), (std::vector<Object*>{&middle, &low, &high}));
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
  EXPECT_EQ(drawing_order_among({&objects[10], &objects[15]}), (std::vector<Object*>{&objects[10], &objects[15]}));
}

TEST_F(ObjectRegistryTest, ShuffledDepthsSortStably) {
  constexpr int count = 2000;
  const auto objects = std::make_unique<Object[]>(count);
  std::mt19937 random(7);
  std::uniform_int_distribution<int> depth(0, 9);
  for (int i = 0; i < count; ++i) objects[i].depth = static_cast<float>(depth(random));
  const std::vector<Object*> before = drawing_order();

  sort_by_depth();

  EXPECT_TRUE(sorted_by_depth());
  // Each depth's entries in the order they had before the sort.
  for (int d = 0; d <= 9; ++d) {
    std::vector<Object*> expected;
    std::vector<Object*> found;
    for (Object* entry : before) {
      if (entry->depth == static_cast<float>(d)) expected.push_back(entry);
    }
    for (Object* entry : drawing_order()) {
      if (entry->depth == static_cast<float>(d)) found.push_back(entry);
    }
    EXPECT_EQ(found, expected) << "depth " << d;
  }
}

// Births (some given a depth at construction, some later), deaths and depths
// written directly, in every mix and at every size, against a model: a birth
// goes after the objects sorted at its depth, a sort is a stable sort.
TEST_F(ObjectRegistryTest, ChurnAtMixedDepthsKeepsTheOrderOfAStableSort) {
  std::mt19937 random(11);
  const auto pick = [&random](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  const auto depth = [&pick] { return static_cast<float>(pick(5)); };
  std::vector<std::unique_ptr<Object>> alive;
  std::vector<Object*> expected = drawing_order();
  std::map<const Object*, float> sorted_at;  // the depth each was last sorted by
  for (Object* object : expected) sorted_at[object] = object->depth;
  for (int round = 0; round < 300; ++round) {
    for (std::size_t i = pick(40); i > 0; --i) {
      alive.push_back(pick(2) == 0 ? std::make_unique<Object>(depth()) : std::make_unique<Object>());
      Object* born = alive.back().get();
      sorted_at[born] = born->depth;
      expected.insert(std::upper_bound(expected.begin(), expected.end(), born->depth,
                                       [&](float d, const Object* o) { return d < sorted_at[o]; }),
                      born);
    }
    for (std::size_t i = pick(alive.size() / 3 + 1); i > 0; --i) {
      std::swap(alive[pick(alive.size())], alive.back());
      std::erase(expected, alive.back().get());
      alive.pop_back();
    }
    for (std::size_t i = pick(10); i > 0 && !alive.empty(); --i) alive[pick(alive.size())]->depth = depth();
    if (pick(2) == 0) {  // the order read between ticks: births merged in, nothing re-sorted
      ASSERT_EQ(drawing_order(), expected) << round;
    }
    std::ranges::stable_sort(expected, {}, &Object::depth);
    for (Object* object : expected) sorted_at[object] = object->depth;
    pick(2) == 0 ? update_all_objects() : sort_by_depth();
    ASSERT_EQ(drawing_order(), expected) << round;
    ASSERT_EQ(object_registry.count(), static_cast<int>(expected.size()));
  }
}

TEST_F(ObjectRegistryTest, AWalkMayDestroyAndMakeObjects) {
  std::vector<std::unique_ptr<Object>> objects;
  for (int i = 0; i < 10; ++i) objects.push_back(std::make_unique<Object>(static_cast<float>(i)));
  const int before = object_registry.count();
  std::vector<std::unique_ptr<Object>> born;
  std::size_t visited = 0;
  for (Object& object : object_registry.in_order()) {
    ++visited;
    if (&object != objects[2].get()) continue;
    objects[2].reset();  // itself and two it has not reached yet
    objects[3].reset();
    objects[9].reset();
    for (int i = 0; i < 100; ++i) born.push_back(std::make_unique<Object>(2.5f));  // not visited
  }
  EXPECT_EQ(visited, static_cast<std::size_t>(before - 2));
  EXPECT_EQ(object_registry.count(), before - 3 + 100);
  EXPECT_EQ(drawing_order_among({objects[1].get(), born[0].get(), born[99].get(), objects[4].get()}),
            (std::vector<Object*>{objects[1].get(), born[0].get(), born[99].get(), objects[4].get()}));
}

// Fifty objects at five depths, walked while the walk re-sorts, destroys and
// makes: every object that lives through a walk is visited exactly once.
TEST_F(ObjectRegistryTest, AWalkVisitsEachObjectOnceWhateverItDoes) {
  std::vector<std::unique_ptr<Object>> objects;
  for (int i = 0; i < 50; ++i) objects.push_back(std::make_unique<Object>(static_cast<float>(i % 5)));
  const auto walk_checked = [](const auto& step) {
    const std::vector<Object*> before = drawing_order();
    std::map<const Object*, long> visits;
    int n = 0;
    for (Object& object : object_registry.in_order()) {
      ++visits[&object];
      step(object, n++);
    }
    for (Object* object : drawing_order()) EXPECT_EQ(visits[object], std::ranges::count(before, object));
  };
  walk_checked([](Object& object, int n) {
    if (n % 3 == 0) object.bring_to_front();
  });
  walk_checked([&](Object&, int n) {
    if (n == 0) {
      for (int i = 0; i < 5; ++i) objects.push_back(std::make_unique<Object>(-1.0f));
      objects.back()->bring_to_front();
    } else if (n == 10) {
      objects[4].reset();  // two of the highest, not reached yet
      objects[9].reset();
      sort_by_depth();
    } else if (n == 20) {
      objects[0]->depth = -10.0f;
      update_all_objects();
      walk_checked([](Object& inner, int m) {  // nested, re-sorting too
        if (m % 2 == 0) inner.bring_to_front();
      });
    }
  });
  const std::size_t before = allocation_count;  // the buffers have grown: a re-sorting walk allocates nothing
  for (Object& object : object_registry.in_order()) object.bring_to_front();
  EXPECT_EQ(allocation_count, before);
}

TEST_F(ObjectRegistryTest, AMovedObjectTakesItsPlaceAndItsAnimatorsAlong) {
  Object below(1.0f), old(2.0f), above(3.0f);
  old.x_animators.animate({.from = 0.0f, .to = 100.0f});
  old.color_animators.animate({.from = old.color, .to = ALLEGRO_COLOR{1, 0, 0, 1}});
  Object moved(std::move(old));
  EXPECT_EQ(drawing_order_among({&below, &old, &moved, &above}), (std::vector<Object*>{&below, &moved, &above}));
  EXPECT_EQ(old.animator_count(), 0);
  EXPECT_EQ(moved.animator_count(), 2);

  clock.set(0.5);
  update_all_objects();
  EXPECT_EQ(moved.x, 50.0f);
  EXPECT_EQ(old.x, 0.0f);
  moved.y_animators.set_value(7.0f);
  EXPECT_EQ(moved.y, 7.0f);

  // Assignment: the target's own place and animators go, it takes the source's.
  above.opacity_animators.animate({.from = 1.0f, .to = 0.0f});
  above = std::move(moved);
  EXPECT_EQ(drawing_order_among({&below, &moved, &above}), (std::vector<Object*>{&below, &above}));
  EXPECT_EQ(above.animator_count(), 2);
  clock.set(1.0);
  update_all_objects();
  EXPECT_EQ(above.x, 100.0f);
  EXPECT_EQ(above.opacity, 1.0f);
  above = std::move(above);
  EXPECT_EQ(drawing_order_among({&above}).size(), 1u);
}

// A particle system's usual shape: a struct with an Object in a vector,
// spawned at mixed depths, erased by age while their animators run. A
// dangling entry or animator target shows under AddressSanitizer.
struct particle {
  Object sprite;
  int born = 0;
};

TEST_F(ObjectRegistryTest, AVectorGrowsErasesAndClearsBetweenTicks) {
  const int before = object_registry.count();
  std::vector<particle> particles;
  for (int tick = 1; tick <= 30; ++tick) {
    clock.set(tick);
    for (int i = 0; i < 7; ++i) {
      particle& p = particles.emplace_back(particle{Object(static_cast<float>(i % 3)), tick});
      p.sprite.x_animators.animate({.from = 0.0f, .to = 30.0f, .duration = 3.0});
    }
    std::erase_if(particles, [tick](const particle& p) { return tick - p.born >= 2 + p.sprite.depth; });
    update_all_objects();
    ASSERT_EQ(object_registry.count(), before + static_cast<int>(particles.size()));
    std::vector<Object*> expected;
    for (particle& p : particles) expected.push_back(&p.sprite);
    std::ranges::stable_sort(expected, {}, &Object::depth);  // by depth, then by birth
    ASSERT_EQ(drawing_order_among(expected), expected);
    for (const particle& p : particles) ASSERT_FLOAT_EQ(p.sprite.x, 10.0f * static_cast<float>(tick - p.born));
  }
  particles.clear();
  update_all_objects();
  EXPECT_EQ(object_registry.count(), before);
}

TEST_F(ObjectRegistryTest, ADequeErasesFromTheMiddle) {
  std::deque<Object> objects;
  for (int i = 0; i < 6; ++i) objects.emplace_back(static_cast<float>(i));
  objects.erase(objects.begin() + 2);
  objects.emplace_front(-1.0f);
  std::vector<Object*> expected;
  for (Object& object : objects) expected.push_back(&object);
  EXPECT_EQ(drawing_order_among(expected), expected);
}

}  // namespace
