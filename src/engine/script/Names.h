#pragma once
// Names in scripts are compared without regard to ASCII case.

#include <string>
#include <string_view>

namespace vistrel::engine {

std::string lowerCase(std::string_view text);
bool sameName(std::string_view a, std::string_view b);
// <0, 0 or >0 as a sorts before, with or after b, ignoring ASCII case.
int compareIgnoringCase(std::string_view a, std::string_view b);

}  // namespace vistrel::engine
