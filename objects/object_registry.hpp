#pragma once

#include <vector>

#include <tank/core/global.hpp>

namespace tank {

struct Object;

// Every live Object, sorted by ascending depth: the frame is drawn in this
// order, so lower depths end up behind. The registry owns none of them.
struct object_registry_class {
  std::vector<Object*> objects;

  // Appends the object and puts it in depth order, after the objects of its
  // own depth (a null pointer is not listed).
  void register_object(Object* object);
  // Removes the first entry equal to `object`; false when there is none.
  bool unregister_object(Object* object);
  // Ascending depth; equal depths keep their order.
  void sort_by_depth();
  // Puts the object 0.1 above the current last entry and re-sorts.
  void bring_to_front(Object* object);
  // The per-tick step: every object's animators, then the depth order, which
  // depth animators may have changed.
  void update_all_objects();
  // Every object in the current order onto the current target; sprites are
  // batched into few draw calls unless debug_view asks for outlines.
  void draw_all_objects();
  int count() const;
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
