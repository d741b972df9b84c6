// The nviewlib picture library's PCX decoder.
#include "plugins/nviewlib/PcxDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velinor::plugins::DecodePcx(data, size);
    return 0;
}
