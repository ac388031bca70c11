#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <tank/core/global.hpp>

namespace tank {

struct Object;

// One place in the drawing order: the object (null once it has left, until
// the next tick closes the gap), the depth it was last sorted by and the
// place's name, under which the registry finds it when the object leaves or
// moves.
struct registry_entry {
  Object* object = nullptr;  // null once it has left
  float key = 0.0f;          // the depth it was sorted by
  std::uint32_t id = 0;      // the place's name
};

struct object_registry_class;

// The live objects in drawing order, for a range-for:
//
//   for (Object& object : object_registry.in_order()) ...
//
// The walk goes through the objects there were when it began, in the order
// they had then, and visits each object that lives through it exactly once,
// whatever the walk does meanwhile:
// - re-sorting (bring_to_front, sort_by_depth, update_all_objects, drawing)
//   changes the drawing order at once but not the rest of the walk;
// - an object destroyed before the walk reaches it is not visited;
// - an object made during the walk is not visited by it;
// - an object moved into another (a vector growing) is visited once, as the
//   object it moved into.
// Walks may nest, and a walk is walked once.
//
// What it costs: a walk reads the registry's places in turn, as a plain loop
// would. Only if the order changes while it is under way does it first copy
// the names of the places it has still to visit (into a buffer the registry
// keeps, so nothing is allocated once it has grown), and from then on finds
// each object by its place's name.
struct object_walk {
  // What a walk's iterator compares with to end.
  struct end_mark {};
  // A place in the walk; it skips the places objects have left.
  struct iterator {
    object_walk* walk = nullptr;  // the walk it steps

    // The object here.
    Object& operator*() const { return *walk->current; }
    // On to the next object.
    iterator& operator++() {
      walk->advance();
      return *this;
    }
    // Whether the walk goes on.
    bool operator!=(end_mark) const { return walk->current != nullptr; }
  };

  // Keeps the registry's places from shifting until the walk ends.
  explicit object_walk(object_registry_class& registry);
  ~object_walk();
  object_walk(const object_walk&) = delete;
  object_walk& operator=(const object_walk&) = delete;

  // The first call finds the first object; a later one resumes the walk
  // where it stands.
  iterator begin();
  end_mark end() const { return {}; }

 private:
  friend struct object_registry_class;
  void advance();  // inline below: a walk costs what a plain loop does
  void advance_by_name();

  object_registry_class& registry;
  object_walk* outer = nullptr;  // the walks under way form a list, newest first
  Object* current = nullptr;     // the object visited now; null once the walk is over
  // Still to visit: the registry's places [next, end_index), or once the
  // order has changed, the places named by its walk_ids [next, end_index).
  std::size_t next = 0;
  std::size_t end_index = 0;
  bool started = false;
  bool by_name = false;
};

// Every live Object, sorted by ascending depth: the frame is drawn in this
// order, so lower depths end up behind, and equal depths keep the order they
// had. The registry owns none of them.
//
// What each step costs, with n objects registered. Registering appends the
// object to the arrivals, O(1); before the order is next read, all of them
// are sorted in at once, each at the depth it had when it registered.
// Leaving empties the object's place, O(1); the next tick closes the gaps in
// the pass it makes anyway. An object that moves hands its place over, O(1).
// A depth written directly is noticed in that same pass, and the objects
// whose depth changed are sorted among themselves and merged back in: a tick
// is one pass over the objects, plus k log k for the k objects that arrived
// or changed depth, plus moving the entries above the lowest of them.
struct object_registry_class {
  // Adds the object: it is drawn after the objects of the depth it has now.
  // An object that is already registered, or null, changes nothing.
  void register_object(Object* object);
  // Takes the object out; false when it was not registered.
  bool unregister_object(Object* object);
  // Ascending depth; equal depths keep their order. A depth written directly
  // takes effect here, at bring_to_front or at the next tick.
  void sort_by_depth();
  // Gives the object a depth 0.1 above the current last entry's (or the next
  // depth up, where 0.1 is lost to rounding, from 2^21 on) and re-sorts.
  // Above an infinite or NaN depth it takes infinity and goes after every
  // other infinite (or NaN) depth. The last entry is the last in the current order: a
  // depth written since the last sort has not moved its object yet.
  void bring_to_front(Object* object);
  // The per-tick step: every object's animators, then the depth order, which
  // depth animators may have changed.
  void update_all_objects();
  // Every object in the current order onto the current target; sprites are
  // batched into few draw calls unless debug_view asks for outlines.
  void draw_all_objects();
  // The live objects, and a walk over them in drawing order.
  int count() const;
  object_walk in_order() { return object_walk(*this); }

 private:
  friend struct object_walk;
  friend struct Object;

  // `to` takes `from`'s place in the order (none if `from` had none), and
  // `from` is left out of the registry: an Object's move. `to` is not
  // registered.
  void hand_over(Object* from, Object* to);

  // An entry on its way back into the order: it arrived, or its depth
  // changed. Where it stood, to keep the order among equal depths, is its old
  // key and then its position (an arrival stands after the entries sorted at
  // its key).
  struct moving_entry {
    registry_entry entry;  // with its new key
    float old_key;
    std::size_t position;
  };

  void merge_arrivals();
  void restore_order(bool animate);
  void merge_moving();
  void close_gaps();
  void drop_trailing_gaps();
  void place(std::size_t index, registry_entry entry);
  void move_after_equals(std::size_t index);
  // Called before the places change: every walk under way keeps the names
  // of the places it has still to visit.
  void keep_walks_by_name();
  void end_walk(object_walk& walk);

  // [0, sorted_end) ascends by key; the arrivals follow in registration order.
  std::vector<registry_entry> entries;
  std::size_t sorted_end = 0;
  // Where each place is in `entries`, by its id (`nowhere` once it is
  // empty), and the ids free for reuse. Entries move at every merge:
  // updating this dense table instead of each object keeps a tick from
  // writing to objects scattered over memory.
  static constexpr std::uint32_t nowhere = static_cast<std::uint32_t>(-1);
  std::vector<std::uint32_t> index_of;
  std::vector<std::uint32_t> free_ids;
  // Ids freed while a walk is under way: reused only once every walk has
  // ended, so that a walk never takes a newcomer for an object it has yet
  // to visit.
  std::vector<std::uint32_t> retired_ids;
  std::size_t gaps = 0;  // null entries
  // The walks under way (newest first): while one walks by place, places
  // must not shift or go without keep_walks_by_name first.
  object_walk* walks = nullptr;
  // The ids still to visit of the walks that go by name, one range each;
  // kept between walks, like `moving`, so that they allocate nothing.
  std::vector<std::uint32_t> walk_ids;
  std::vector<moving_entry> moving;  // kept between ticks, so a tick allocates nothing
};

// Objects register from their constructors and leave from their
// destructors, also global ones in any translation unit: the registry is a
// framework global (core/global.hpp), built before any global defined after
// this include and torn down after it. Object and the registry belong
// together by design: each object lists itself here, and the registry walks
// its objects to animate and draw them.
extern global_instance<object_registry_class> object_registry_instance;
extern object_registry_class& object_registry;
static global_user<object_registry_instance> object_registry_user;

inline void object_walk::advance() {
  if (by_name) return advance_by_name();
  const registry_entry* const entries = registry.entries.data();
  while (next < end_index) {
    current = entries[next++].object;
    if (current != nullptr) return;
  }
  current = nullptr;
}

// The same operations on the global registry. An Object registers and
// unregisters itself; a game calls update_all_objects once per tick (the loop
// does) and draw_all_objects when it draws more than the objects.
void register_object(Object* object);
bool unregister_object(Object* object);
void sort_by_depth();
void bring_to_front(Object* object);
void update_all_objects();
void draw_all_objects();

}  // namespace tank
