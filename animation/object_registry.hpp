#pragma once

#include <vector>

struct Object;

// Every live Object, sorted by ascending depth: the frame is drawn in this
// order, so lower depths end up behind. The registry owns none of them.
struct object_registry_class {
  std::vector<Object*> objects;

  // Appends the object and restores the depth order (a null pointer is not
  // listed).
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
};

// Global objects register from their constructors and unregister from their
// destructors, in any translation unit, and the order of dynamic
// initialisation across translation units is unspecified. So the registry is
// not an ordinary global: each translation unit including this header gets an
// initialiser below, the first one constructed builds the registry in static
// storage and the last one destroyed tears it down. A global defined after
// this include is therefore constructed after the registry and destroyed
// before it.
extern object_registry_class& object_registry;

struct object_registry_initializer {
  object_registry_initializer();
  ~object_registry_initializer();
  object_registry_initializer(const object_registry_initializer&) = delete;
  object_registry_initializer& operator=(const object_registry_initializer&) = delete;
};
static object_registry_initializer object_registry_init;

void register_object(Object* object);
bool unregister_object(Object* object);
void sort_by_depth();
void bring_to_front(Object* object);
void update_all_objects();
