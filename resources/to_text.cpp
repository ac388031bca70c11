#include <tank/resources/to_text.hpp>

std::string to_text(int value) { return std::to_string(value); }
