#include "plugins/image323/IcoDecoder.h"

#include <new>
#include <span>

#include "imageio/IcoDecoder.h"

namespace velinor::plugins {

// The library reads icons with the program's own icon decoder, so a logo icon and an opened
// icon are read alike; the library's callers want the colour pixels only, and those are
// already black where the icon is transparent.
std::optional<Picture> DecodeIco(const std::uint8_t* data, std::size_t size) {
    auto icon = imageio::DecodeIco(std::span<const std::uint8_t>(data, size), imageio::IconChoice::Best);
    if (!icon) return std::nullopt;
    auto picture = BlankPicture(icon->width, icon->height);
    if (!picture) return std::nullopt;
    std::copy(icon->pixels.begin(), icon->pixels.end(), picture->pixels.get());
    return picture;
}

}  // namespace velinor::plugins
