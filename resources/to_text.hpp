#pragma once

#include <string>

namespace tank {

// The decimal text of a number: a leading minus for negatives, no padding.
std::string to_text(int value);

}  // namespace tank
