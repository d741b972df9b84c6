#include "imageio/Loader.h"

#include <exception>
#include <vector>

#include "imageio/PictureDecoder.h"

namespace velinor::imageio {

namespace {

render::ImageHandle Store(render::ImageRegistry& images, int number,
                          std::optional<render::RasterImage> picture) {
    if (!picture) {
        images.SelectImage(number);
        return nullptr;
    }
    return images.StoreImage(number, std::move(*picture));
}

}  // namespace

// Decoders validate sizes before allocating, but a large picture may still not fit in memory;
// that is a failed load like any other, not an exception for the caller.
std::optional<render::RasterImage> DecodePictureFile(const std::string& path) {
    try {
        const auto bytes = ReadWholeFile(path);
        if (!bytes) return std::nullopt;
        return DecodePicture(*bytes, IconChoice::Best);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<render::RasterImage> DecodePictureMemory(std::span<const std::uint8_t> bytes) {
    try {
        return DecodePicture(bytes, IconChoice::First);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

render::ImageHandle LoadPicture(render::ImageRegistry& images, int number, const std::string& path) {
    // The old picture goes first, so a failed load leaves the number empty.
    images.DropImage(number);
    return Store(images, number, DecodePictureFile(path));
}

render::ImageHandle ImageFromMemory(render::ImageRegistry& images, int number,
                                    std::span<const std::uint8_t> bytes) {
    images.DropImage(number);
    return Store(images, number, DecodePictureMemory(bytes));
}

}  // namespace velinor::imageio
