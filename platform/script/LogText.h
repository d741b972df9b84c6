#pragma once

#include <string>
#include <string_view>

namespace velinor::platform {

// A string for the one-line log: in double quotes, with '"' and '\' escaped and CR, LF and
// tab shown as \r, \n and \t, so that every log entry stays on one line.
std::string Quote(std::string_view text);

// A colour or any 24-bit value as 0xRRGGBB-style hexadecimal with six digits ("0x0000FF").
std::string Hex6(long long value);

}  // namespace velinor::platform
