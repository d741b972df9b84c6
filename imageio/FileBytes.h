#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velinor::imageio {

// Pictures are photos; a file larger than this is refused rather than read into memory.
constexpr std::uintmax_t kMaxPictureFileBytes = std::uintmax_t{1} << 30;

// The whole file, or nothing when it cannot be opened or read or is larger than max_bytes.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       std::uintmax_t max_bytes = kMaxPictureFileBytes);

}  // namespace velinor::imageio
