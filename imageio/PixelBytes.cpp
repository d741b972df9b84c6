#include "imageio/PixelBytes.h"

#include <bit>

#include "render/Vectorise.h"

namespace velinor::imageio {

namespace {

// Read as a machine word, the bytes R, G, B, X are X<<24 | B<<16 | G<<8 | R on a
// little-endian machine, so a Color is the word with its top byte cleared; a big-endian
// machine has the bytes the other way round. Branch-free word arithmetic, so the compiler
// turns the loop into vector instructions.
VELINOR_PIXEL_LOOP void WordsToColors(render::Color* row, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t word = row[i];
        if constexpr (std::endian::native == std::endian::little) {
            row[i] = word & 0x00FFFFFFu;
        } else {
            row[i] = ((word >> 24) & 0xFFu) | ((word >> 8) & 0xFF00u) | ((word << 8) & 0xFF0000u);
        }
    }
}

VELINOR_PIXEL_LOOP void FourthBytes(const render::Color* row, std::size_t count, std::uint8_t* alpha) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t word = row[i];
        alpha[i] = static_cast<std::uint8_t>(std::endian::native == std::endian::little ? word >> 24 : word);
    }
}

}  // namespace

void RgbxBytesToColors(render::Color* row, std::size_t count, std::uint8_t* alpha) {
    if (alpha != nullptr) FourthBytes(row, count, alpha);
    WordsToColors(row, count);
}

}  // namespace velinor::imageio
