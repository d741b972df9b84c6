#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

#include "imageio/DecodeLimits.h"
#include "render/RasterImage.h"

namespace velinor::fuzz {

// Pictures up to four million pixels keep every run quick while still reaching every path.
inline constexpr imageio::DecodeLimits kFuzzLimits{render::kMaxImageSide, 1 << 22};

inline std::span<const std::uint8_t> Bytes(const std::uint8_t* data, std::size_t size) { return {data, size}; }

// A decoded picture must be whole: its store matches its size, its mask (if any) too, and
// every colour has its top byte clear.
inline void CheckPicture(const std::optional<render::RasterImage>& image) {
    if (!image) return;
    const std::size_t count = static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
    if (!render::ValidImageSize(image->width, image->height) || image->pixels.size() != count) std::abort();
    if (image->IsIcon() && image->mask.size() != count) std::abort();
    for (render::Color c : image->pixels) {
        if ((c >> 24) != 0) std::abort();
    }
}

}  // namespace velinor::fuzz
