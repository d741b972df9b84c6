// Feeds arbitrary bytes to the icon decoder with both image choices, and to the whole
// content-sniffing picture decoder.
#include "FuzzSupport.h"
#include "imageio/IcoDecoder.h"
#include "imageio/PictureDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velinor;
    const auto bytes = fuzz::Bytes(data, size);
    fuzz::CheckPicture(imageio::DecodeIco(bytes, imageio::IconChoice::Best, fuzz::kFuzzLimits));
    fuzz::CheckPicture(imageio::DecodeIco(bytes, imageio::IconChoice::First, fuzz::kFuzzLimits));
    fuzz::CheckPicture(imageio::DecodePicture(bytes, imageio::IconChoice::First, fuzz::kFuzzLimits));
    return 0;
}
