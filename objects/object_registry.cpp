#include <tank/objects/object_registry.hpp>

#include <allegro5/allegro.h>

#include <algorithm>
#include <cstddef>

#include <tank/core/settings.hpp>
#include <tank/objects/object.hpp>

namespace tank {

namespace {
// A strict ordering by depth; stray null entries go first.
bool depth_less(const Object* a, const Object* b) {
  if (a == nullptr || b == nullptr) return a == nullptr && b != nullptr;
  return a->depth < b->depth;
}
}  // namespace

constinit global_instance<object_registry_class> object_registry_instance;
constinit object_registry_class& object_registry = object_registry_instance.object();

void object_registry_class::register_object(Object* object) {
  if (object == nullptr) return;
  objects.push_back(object);
  // Objects made together usually share a depth and arrive in order: adding
  // one then costs nothing, not a walk over everything registered.
  if (objects.size() > 1 && depth_less(object, objects[objects.size() - 2])) sort_by_depth();
}

bool object_registry_class::unregister_object(Object* object) {
  if (object == nullptr) return false;
  const auto entry = std::find(objects.begin(), objects.end(), object);
  if (entry == objects.end()) return false;
  objects.erase(entry);
  return true;
}

// Runs every tick, so it must not allocate, which std::stable_sort does (a
// merge buffer). A tick leaves the registry sorted or nearly so: a few
// objects whose depth changed, each a few places out. Those are moved into
// place one by one, each after the entries of equal depth, which keeps the
// sort stable. Only when the moves add up to more than one per entry is the
// input far from sorted, and the stable merge sort takes over from the
// partly sorted state so that large registries still sort in n log n.
void object_registry_class::sort_by_depth() {
  const auto begin = objects.begin();
  const auto end = objects.end();
  auto moves_left = static_cast<std::ptrdiff_t>(objects.size());
  for (auto next = std::is_sorted_until(begin, end, depth_less); next != end; ++next) {
    if (!depth_less(*next, *(next - 1))) continue;
    const auto slot = std::upper_bound(begin, next, *next, depth_less);
    moves_left -= next - slot;
    if (moves_left < 0) {
      std::stable_sort(begin, end, depth_less);
      return;
    }
    std::rotate(slot, next, next + 1);
  }
}

void object_registry_class::bring_to_front(Object* object) {
  if (object == nullptr || objects.empty() || objects.back() == nullptr) return;
  // Even when the object is the last entry itself: it climbs by 0.1.
  object->depth = static_cast<float>(static_cast<double>(objects.back()->depth) + 0.1);
  sort_by_depth();
}

void object_registry_class::update_all_objects() {
  // An object's animators write only its own fields, so its depth is final
  // once it is updated: the order is checked in the same pass, and a large
  // registry is walked once instead of twice when nothing moved.
  bool in_order = true;
  for (std::size_t i = 0; i < objects.size(); ++i) {
    if (objects[i] != nullptr) objects[i]->update_animators();
    if (i > 0 && depth_less(objects[i], objects[i - 1])) in_order = false;
  }
  if (!in_order) sort_by_depth();
}

void object_registry_class::draw_all_objects() {
  // Consecutive sprites of one image are batched into one draw call; the
  // debug view's lines cannot be drawn while drawing is held.
  const bool batch = !debug_view;
  if (batch) al_hold_bitmap_drawing(true);
  for (Object* object : objects) {
    if (object != nullptr) object->draw();
  }
  if (batch) al_hold_bitmap_drawing(false);
}

int object_registry_class::count() const { return static_cast<int>(objects.size()); }

void register_object(Object* object) { object_registry.register_object(object); }
bool unregister_object(Object* object) { return object_registry.unregister_object(object); }
void sort_by_depth() { object_registry.sort_by_depth(); }
void bring_to_front(Object* object) { object_registry.bring_to_front(object); }
void update_all_objects() { object_registry.update_all_objects(); }
void draw_all_objects() { object_registry.draw_all_objects(); }

}  // namespace tank
