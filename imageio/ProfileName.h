#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velinor::imageio {

// The English description an ICC profile gives of itself ("Adobe RGB (1998)"); empty when there
// is no profile or it does not open.
std::string ProfileDescription(const std::vector<std::uint8_t>& profile);

}  // namespace velinor::imageio
