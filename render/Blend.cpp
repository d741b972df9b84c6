#include "render/Blend.h"

#include "render/Vectorise.h"

namespace velinor::render {

// The rows are blended byte by byte: the formula is the same for every channel, and the unused
// top byte stays 0 (0*a + 0*(255-a) = 0). Written this way the loop vectorises into 16-bit
// lanes, where x + 128 + ((x + 128) >> 8) stays below 65536.
VELINOR_PIXEL_LOOP
void BlendRow(const Color* source, Color* target, std::size_t count, std::uint32_t a) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(source);
    auto* d = reinterpret_cast<std::uint8_t*>(target);
    const auto wa = static_cast<std::uint16_t>(a);
    const auto wb = static_cast<std::uint16_t>(255 - a);
    const std::size_t bytes = count * sizeof(Color);
    for (std::size_t i = 0; i < bytes; ++i) {
        const auto x = static_cast<std::uint16_t>(s[i] * wa + d[i] * wb + 128);
        d[i] = static_cast<std::uint8_t>((x + (x >> 8)) >> 8);
    }
}

VELINOR_PIXEL_LOOP
void KeyRow(const Color* source, Color* target, std::size_t count, Color key) {
    for (std::size_t i = 0; i < count; ++i) {
        const Color s = source[i];
        target[i] = s == key ? target[i] : s;
    }
}

void MaskRow(const Color* source, const std::uint8_t* mask, Color* target, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) target[i] = mask[i] != 0 ? source[i] : target[i];
}

void BlendMaskedRow(const Color* source, const std::uint8_t* mask, Color* target, std::size_t count,
                    std::uint32_t a) {
    for (std::size_t i = 0; i < count; ++i) {
        if (mask[i] != 0) target[i] = BlendPixel(source[i], target[i], a);
    }
}

void KeyMaskedRow(const Color* source, const std::uint8_t* mask, Color* target, std::size_t count, Color key) {
    for (std::size_t i = 0; i < count; ++i) {
        if (mask[i] != 0 && source[i] != key) target[i] = source[i];
    }
}

}  // namespace velinor::render
