#pragma once

#include <cstdint>

namespace velinor::render {

// A colour is 0x00BBGGRR: red in bits 0-7, green in 8-15, blue in 16-23, top byte zero.
using Color = std::uint32_t;

// r + g*256 + b*65536 without masking: callers pass components in 0..255.
constexpr Color MakeColor(int red, int green, int blue) {
    return static_cast<Color>(red + green * 256 + blue * 65536);
}

constexpr int RedOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Color kBlack = 0;
constexpr Color kWhite = MakeColor(255, 255, 255);
constexpr Color kLightGrey = MakeColor(229, 229, 229);

}  // namespace velinor::render
