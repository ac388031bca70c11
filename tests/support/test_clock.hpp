#pragma once

// A clock that only moves when told to, installed as the animators' clock
// for as long as the object lives.
struct test_clock_class {
  test_clock_class();
  ~test_clock_class();
  test_clock_class(const test_clock_class&) = delete;
  test_clock_class& operator=(const test_clock_class&) = delete;

  void set(double seconds);
  void advance(double seconds);
  double now() const;
};
