#include "tests/support/drawing_order.hpp"

#include <algorithm>

#include <tank/objects/object_registry.hpp>

using namespace tank;

std::vector<Object*> drawing_order() {
  std::vector<Object*> order;
  for (Object& object : object_registry.in_order()) order.push_back(&object);
  return order;
}

std::vector<Object*> drawing_order_among(const std::vector<Object*>& wanted) {
  std::vector<Object*> found;
  for (Object* object : drawing_order()) {
    if (std::find(wanted.begin(), wanted.end(), object) != wanted.end()) found.push_back(object);
  }
  return found;
}
