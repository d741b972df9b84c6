// Feeds arbitrary bytes to the tga decoder; a decoded picture must be whole.
#include "FuzzSupport.h"
#include "imageio/TgaDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = velinor::fuzz::Bytes(data, size);
    velinor::fuzz::CheckPicture(velinor::imageio::DecodeTga(bytes, velinor::fuzz::kFuzzLimits));
    return 0;
}
