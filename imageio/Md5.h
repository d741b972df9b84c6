#pragma once

#include <string>
#include <string_view>

namespace velinor::imageio {

// The MD5 digest of bytes as 32 upper-case hexadecimal digits: the GUID that ties an extended
// XMP packet to the main packet naming it.
std::string Md5Hex(std::string_view bytes);

}  // namespace velinor::imageio
