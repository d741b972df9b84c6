#include "imageio/PictureDecoder.h"

#include "imageio/BmpDecoder.h"
#include "imageio/JpegDecoder.h"
#include "imageio/PngDecoder.h"
#include "imageio/TgaDecoder.h"

namespace velinor::imageio {

std::optional<render::RasterImage> DecodePicture(std::span<const std::uint8_t> bytes,
                                                 IconChoice iconChoice,
                                                 const DecodeLimits& limits, PictureMetadata* metadata) {
    if (LooksLikeBmp(bytes)) return DecodeBmp(bytes, limits);
    if (LooksLikeIco(bytes)) {
        if (auto icon = DecodeIco(bytes, iconChoice, limits)) return icon;
    }
    // Each decoder takes the file only when it recognises the start; the first taker decides.
    if (LooksLikeJpeg(bytes)) return DecodeJpeg(bytes, limits, metadata);
    if (LooksLikePng(bytes)) return DecodePng(bytes, limits, metadata);
    if (LooksLikeTga(bytes)) return DecodeTga(bytes, limits);
    return std::nullopt;
}

}  // namespace velinor::imageio
