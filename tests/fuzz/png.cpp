// Feeds arbitrary bytes to the PNG decoder, as a picture and as an icon image.
#include "FuzzSupport.h"
#include "imageio/PngDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = velinor::fuzz::Bytes(data, size);
    velinor::fuzz::CheckPicture(velinor::imageio::DecodePng(bytes, velinor::fuzz::kFuzzLimits));
    velinor::fuzz::CheckPicture(velinor::imageio::DecodePngIcon(bytes, velinor::fuzz::kFuzzLimits));
    return 0;
}
