#pragma once

#include <cstddef>
#include <cstdint>

#include "render/Color.h"

namespace velinor::render {

// round(x / 255) for 0 <= x <= 65025, without a division. x / 255 is never exactly halfway
// between two integers, so "round to nearest" needs no tie rule.
constexpr std::uint32_t DivideBy255Rounded(std::uint32_t x) {
    x += 128;
    return (x + (x >> 8)) >> 8;
}

// One colour laid over another with constant opacity a (0..255): per channel
// round((s*a + d*(255 - a)) / 255). The top byte of the result is zero.
constexpr Color BlendPixel(Color source, Color target, std::uint32_t a) {
    // Red and blue travel together in two 16-bit lanes, green alone: every lane stays below
    // 65536 through the rounding steps, so no carry crosses into a neighbour.
    const std::uint32_t b = 255 - a;
    std::uint32_t rb = (source & 0xFF00FFu) * a + (target & 0xFF00FFu) * b + 0x00800080u;
    rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    std::uint32_t g = ((source >> 8) & 0xFFu) * a + ((target >> 8) & 0xFFu) * b + 0x80u;
    g = ((g + (g >> 8)) >> 8) & 0xFFu;
    return rb | (g << 8);
}

// Blends count source pixels over count target pixels with opacity a (0..255).
void BlendRow(const Color* source, Color* target, std::size_t count, std::uint32_t a);

// Copies every source pixel that differs from key onto the target.
void KeyRow(const Color* source, Color* target, std::size_t count, Color key);

// Copies every source pixel whose mask byte is non-zero onto the target.
void MaskRow(const Color* source, const std::uint8_t* mask, Color* target, std::size_t count);

// The same for icons: pixels whose mask byte is zero are left out as well.
void BlendMaskedRow(const Color* source, const std::uint8_t* mask, Color* target, std::size_t count,
                    std::uint32_t a);
void KeyMaskedRow(const Color* source, const std::uint8_t* mask, Color* target, std::size_t count, Color key);

}  // namespace velinor::render
