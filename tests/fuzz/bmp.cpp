// Feeds arbitrary bytes to the bmp decoder; a decoded picture must be whole.
#include "FuzzSupport.h"
#include "imageio/BmpDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto bytes = velinor::fuzz::Bytes(data, size);
    velinor::fuzz::CheckPicture(velinor::imageio::DecodeBmp(bytes, velinor::fuzz::kFuzzLimits));
    return 0;
}
