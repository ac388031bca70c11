#include <tank/resources/to_text.hpp>

namespace tank {

std::string to_text(int value) { return std::to_string(value); }

}  // namespace tank
