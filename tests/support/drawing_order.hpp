#pragma once

#include <vector>

#include <tank/objects/object.hpp>

// The registry's live objects in drawing order, as a list to compare.
std::vector<tank::Object*> drawing_order();

// The objects among `wanted` in drawing order.
std::vector<tank::Object*> drawing_order_among(const std::vector<tank::Object*>& wanted);
