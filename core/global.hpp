#pragma once

#include <new>

namespace tank {

// A framework global that other globals may use from their own constructors
// and destructors, whatever translation unit they are defined in.
//
// The order in which globals of different translation units are constructed
// is unspecified, so such a global cannot be an ordinary one: an Object
// defined in a game's own file registers itself and may load its image before
// main runs. Instead the global lives in static storage that is constant
// initialised (ready before any constructor runs), and every translation unit
// that includes its header holds a `global_user` (the counter the standard
// streams use): the first user constructed builds the global, the last one
// destroyed tears it down. A global defined after the header's include is
// therefore constructed after the framework's global and destroyed before it.
//
// Declaring one takes three lines in its header:
//
//   extern global_instance<control_set_class> controls_instance;
//   extern control_set_class& controls;
//   static global_user<controls_instance> controls_user;
//
// and two in its source file:
//
//   constinit global_instance<control_set_class> controls_instance;
//   constinit control_set_class& controls = controls_instance.object();
template <typename T>
class global_instance {
 public:
  constexpr global_instance() = default;
  global_instance(const global_instance&) = delete;
  global_instance& operator=(const global_instance&) = delete;

  // Valid to bind at any time; usable while a user is alive.
  constexpr T& object() { return storage.value; }

  // A user arrives: the first one builds the global.
  void acquire() {
    if (users++ == 0) new (&storage.value) T();
  }
  // A user leaves: the last one destroys it.
  void release() {
    if (--users == 0) storage.value.~T();
  }

 private:
  // A union neither constructs nor destroys its member by itself.
  union storage_type {
    constexpr storage_type() : unused() {}
    ~storage_type() {}
    char unused;
    T value;
  };
  storage_type storage;
  int users = 0;
};

// The user every translation unit that includes the global's header holds.
template <auto& instance>
struct global_user {
  global_user() { instance.acquire(); }
  ~global_user() { instance.release(); }
  global_user(const global_user&) = delete;
  global_user& operator=(const global_user&) = delete;
};

}  // namespace tank
