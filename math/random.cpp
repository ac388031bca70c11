#include <tank/math/random.hpp>

#include <cstdlib>

namespace tank {

int random_15() { return std::rand() & random_max; }

float random_float(float lo, float hi) {
  return static_cast<float>(lo + (random_15() / static_cast<double>(random_max)) * (hi - lo));
}

double random_double(double lo, double hi) {
  return lo + (random_15() / static_cast<double>(random_max)) * (hi - lo);
}

int random_int(int lo, int hi) { return lo + random_15() % (hi - lo + 1); }

bool random_bool() { return random_15() % 2 == 1; }

}  // namespace tank
