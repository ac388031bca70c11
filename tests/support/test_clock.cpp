#include "tests/support/test_clock.hpp"

#include <tank/animation/clock.hpp>

using namespace tank;

namespace {
double driven_time = 0.0;
clock_function previous_clock = nullptr;
double read_driven_time() { return driven_time; }
}  // namespace

test_clock_class::test_clock_class() {
  previous_clock = animation_clock;
  driven_time = 0.0;
  animation_clock = read_driven_time;
}

test_clock_class::~test_clock_class() { animation_clock = previous_clock; }

void test_clock_class::set(double seconds) { driven_time = seconds; }
void test_clock_class::advance(double seconds) { driven_time += seconds; }
double test_clock_class::now() const { return driven_time; }
