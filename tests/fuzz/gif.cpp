// The image323 picture library's decoders: GIF, and ICO for anything else, as the library
// chooses by content.
#include <cstring>

#include "plugins/image323/GifDecoder.h"
#include "plugins/image323/IcoDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= 4 && std::memcmp(data, "GIF8", 4) == 0)
        velinor::plugins::DecodeGif(data, size);
    else
        velinor::plugins::DecodeIco(data, size);
    return 0;
}
