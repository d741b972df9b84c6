#include "render/Blend.h"

namespace velinor::render {

void BlendRow(const Color* source, Color* target, std::size_t count, std::uint32_t a) {
    for (std::size_t i = 0; i < count; ++i) target[i] = BlendPixel(source[i], target[i], a);
}

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
