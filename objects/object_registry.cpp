#include <tank/objects/object_registry.hpp>

#include <allegro5/allegro.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include <tank/core/settings.hpp>
#include <tank/objects/object.hpp>

namespace tank {

namespace {
// The order of depths made total: a depth that is not a number sorts above
// every other, instead of breaking the comparison for all of them.
float order_key(float depth) { return depth == depth ? depth : std::numeric_limits<float>::infinity(); }

// 0.1 above `top`, or the next float up where 0.1 is lost to rounding (from
// 2^21 on). Nothing is above infinity (nor NaN, which sorts as infinity):
// there the answer is infinity, and bring_to_front places the object after
// every other infinite depth.
float depth_above(float top) {
  constexpr float infinity = std::numeric_limits<float>::infinity();
  const float raised = static_cast<float>(static_cast<double>(top) + 0.1);
  if (raised > top) return raised;
  return top < infinity ? std::nextafter(top, infinity) : infinity;
}

// How many places ahead the tick's pass asks for an object's fields, from
// how many objects on (fewer stay in the caches from one tick to the next).
constexpr std::size_t prefetch_distance = 8;
constexpr std::size_t prefetch_from = 2048;

// Gaps left in the middle by a program that makes and destroys many objects
// without ticking are closed once they outnumber the live objects, so that
// memory follows the live count; below this many they wait for the tick.
constexpr std::size_t gaps_worth_closing = 1024;
}  // namespace

constinit global_instance<object_registry_class> object_registry_instance;
constinit object_registry_class& object_registry = object_registry_instance.object();

object_walk::object_walk(object_registry_class& registry) : registry(registry), outer(registry.walks) {
  registry.merge_arrivals();
  registry.walks = this;
  end_index = registry.entries.size();
}

object_walk::~object_walk() { registry.end_walk(*this); }

object_walk::iterator object_walk::begin() {
  if (!started) {
    started = true;
    advance();
  }
  return {this};
}

void object_walk::advance_by_name() {
  while (next < end_index) {
    const std::uint32_t index = registry.index_of[registry.walk_ids[next++]];
    if (index != object_registry_class::nowhere) {
      current = registry.entries[index].object;
      return;
    }
  }
  current = nullptr;
}

// Walks usually end newest first, but need not.
void object_registry_class::end_walk(object_walk& walk) {
  object_walk** link = &walks;
  while (*link != &walk) link = &(*link)->outer;
  *link = walk.outer;
  std::size_t names_in_use = 0;
  for (const object_walk* other = walks; other != nullptr; other = other->outer) {
    if (other->by_name) names_in_use = std::max(names_in_use, other->end_index);
  }
  walk_ids.resize(names_in_use);
  if (walks == nullptr) {
    free_ids.insert(free_ids.end(), retired_ids.begin(), retired_ids.end());
    retired_ids.clear();
  }
}

void object_registry_class::keep_walks_by_name() {
  for (object_walk* walk = walks; walk != nullptr; walk = walk->outer) {
    if (walk->by_name) continue;
    const std::size_t first = walk_ids.size();
    for (std::size_t i = walk->next; i < walk->end_index; ++i) {
      if (entries[i].object != nullptr) walk_ids.push_back(entries[i].id);
    }
    walk->next = first;
    walk->end_index = walk_ids.size();
    walk->by_name = true;
  }
}

// A gap's id may already name another place: only live entries are indexed.
void object_registry_class::place(std::size_t index, registry_entry entry) {
  entries[index] = entry;
  if (entry.object != nullptr) index_of[entry.id] = static_cast<std::uint32_t>(index);
}

void object_registry_class::register_object(Object* object) {
  if (object == nullptr || object->registry_id != Object::unregistered) return;
  if (free_ids.empty()) {
    free_ids.push_back(static_cast<std::uint32_t>(index_of.size()));
    index_of.push_back(0);
    // Leaving, and the end of a walk, then never allocate: leaving may
    // happen inside a move.
    free_ids.reserve(index_of.capacity());
    retired_ids.reserve(index_of.capacity());
  }
  const std::uint32_t id = free_ids.back();
  free_ids.pop_back();
  object->registry_id = id;
  index_of[id] = static_cast<std::uint32_t>(entries.size());
  entries.push_back({object, order_key(object->depth), id});
}

bool object_registry_class::unregister_object(Object* object) {
  if (object == nullptr || object->registry_id == Object::unregistered) return false;
  const std::uint32_t id = object->registry_id;
  entries[index_of[id]].object = nullptr;
  index_of[id] = nowhere;
  (walks == nullptr ? free_ids : retired_ids).push_back(id);
  object->registry_id = Object::unregistered;
  ++gaps;
  if (walks == nullptr) {
    drop_trailing_gaps();
    if (gaps >= gaps_worth_closing && gaps * 2 > entries.size()) close_gaps();
  }
  return true;
}

void object_registry_class::hand_over(Object* from, Object* to) {
  to->registry_id = from->registry_id;
  if (from->registry_id == Object::unregistered) return;
  entries[index_of[from->registry_id]].object = to;
  from->registry_id = Object::unregistered;
}

// Objects made and destroyed in turn (a scoped object, a burst that dies
// before the next tick) leave nothing behind.
void object_registry_class::drop_trailing_gaps() {
  while (!entries.empty() && entries.back().object == nullptr) {
    entries.pop_back();
    --gaps;
  }
  sorted_end = std::min(sorted_end, entries.size());
}

void object_registry_class::close_gaps() {
  std::size_t kept = 0;
  std::size_t kept_sorted = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (i == sorted_end) kept_sorted = kept;
    if (entries[i].object != nullptr) place(kept++, entries[i]);
  }
  if (sorted_end == entries.size()) kept_sorted = kept;
  entries.resize(kept);
  sorted_end = kept_sorted;
  gaps = 0;
}

// Sorts `moving` by its new keys and merges it into the sorted entries, from
// the back, so that only the entries above the lowest one merged in move.
// The result is what a stable sort of the whole sequence gives: an entry
// that rose to depth d goes before the entries already at d (it stood before
// them), one that sank or arrived at d goes after them.
void object_registry_class::merge_moving() {
  std::sort(moving.begin(), moving.end(), [](const moving_entry& a, const moving_entry& b) {
    if (a.entry.key != b.entry.key) return a.entry.key < b.entry.key;
    if (a.old_key != b.old_key) return a.old_key < b.old_key;
    return a.position < b.position;
  });
  std::size_t kept = entries.size();
  // Never more than the entries held before: no reallocation.
  entries.resize(kept + moving.size());
  std::size_t out = entries.size();
  for (std::size_t m = moving.size(); m > 0;) {
    const moving_entry& next = moving[m - 1];
    const float key = next.entry.key;
    const bool rose = next.old_key < key;
    if (kept > 0 && (entries[kept - 1].key > key || (entries[kept - 1].key == key && rose))) {
      place(--out, entries[--kept]);
    } else {
      place(--out, next.entry);
      --m;
    }
  }
  sorted_end = entries.size();
  moving.clear();
}

void object_registry_class::merge_arrivals() {
  if (sorted_end == entries.size()) return;
  keep_walks_by_name();
  for (std::size_t i = sorted_end; i < entries.size(); ++i) {
    const registry_entry entry = entries[i];
    if (entry.object == nullptr) {
      --gaps;
    } else {
      moving.push_back({entry, entry.key, i});
    }
  }
  entries.resize(sorted_end);
  merge_moving();
}

// The one pass of a tick (or of a re-sort): animators when asked, then the
// entry either keeps its place, shifted down over the gaps before it, or is
// taken out to be merged back where its depth now belongs. An object's
// animators write only its own fields, so its depth is final once it is
// updated, and nothing in the pass adds or removes entries.
void object_registry_class::restore_order(bool animate) {
  keep_walks_by_name();
  registry_entry* const all = entries.data();
  const std::size_t count = entries.size();
  const std::size_t sorted = sorted_end;
  // The objects of a large registry lie scattered beyond the caches, and each
  // costs a wait for its depth and its tally: ask for those of an object a
  // few places ahead, so that the waits overlap.
  const std::size_t prefetch_until = count > prefetch_from ? count - prefetch_distance : 0;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (i < prefetch_until) {
      if (const Object* ahead = all[i + prefetch_distance].object) {
        __builtin_prefetch(&ahead->depth);
        __builtin_prefetch(&ahead->animator_tally);
      }
    }
    const registry_entry entry = all[i];
    Object* object = entry.object;
    if (object == nullptr) continue;
    if (animate && object->animator_tally != 0) object->update_animators();
    const float depth = object->depth;
    if (i < sorted && order_key(depth) == entry.key) {
      if (kept != i) place(kept, entry);
      ++kept;
    } else {
      moving.push_back({{object, order_key(depth), entry.id}, entry.key, i});
    }
  }
  entries.resize(kept);
  gaps = 0;
  merge_moving();
}

void object_registry_class::sort_by_depth() { restore_order(false); }

// The last entry is the last in the current order: depths written since the
// last sort have not moved anything yet (the game's setup relies on that).
void object_registry_class::bring_to_front(Object* object) {
  if (object == nullptr) return;
  merge_arrivals();
  const auto last = std::find_if(entries.rbegin(), entries.rend(),
                                 [](const registry_entry& entry) { return entry.object != nullptr; });
  if (last == entries.rend()) return;
  // Even when the object is the last entry itself: it climbs.
  const float top = last->object->depth;
  object->depth = depth_above(top);
  sort_by_depth();
  // Nothing is above infinity: sharing it, the object goes after every
  // other entry that does, where a stable sort would leave it before those
  // it stood before.
  if (!(object->depth > top) && object->registry_id != Object::unregistered) {
    move_after_equals(index_of[object->registry_id]);
  }
}

void object_registry_class::move_after_equals(std::size_t index) {
  keep_walks_by_name();
  const registry_entry entry = entries[index];
  for (; index + 1 < entries.size() && entries[index + 1].key == entry.key; ++index) {
    place(index, entries[index + 1]);
  }
  place(index, entry);
}

void object_registry_class::update_all_objects() { restore_order(true); }

void object_registry_class::draw_all_objects() {
  merge_arrivals();
  // Consecutive sprites of one image are batched into one draw call; the
  // debug view's lines cannot be drawn while drawing is held.
  const bool batch = !debug_view;
  if (batch) al_hold_bitmap_drawing(true);
  for (const registry_entry& entry : entries) {
    if (entry.object != nullptr) entry.object->draw();
  }
  if (batch) al_hold_bitmap_drawing(false);
}

int object_registry_class::count() const { return static_cast<int>(entries.size() - gaps); }

void register_object(Object* object) { object_registry.register_object(object); }
bool unregister_object(Object* object) { return object_registry.unregister_object(object); }
void sort_by_depth() { object_registry.sort_by_depth(); }
void bring_to_front(Object* object) { object_registry.bring_to_front(object); }
void update_all_objects() { object_registry.update_all_objects(); }
void draw_all_objects() { object_registry.draw_all_objects(); }

}  // namespace tank
