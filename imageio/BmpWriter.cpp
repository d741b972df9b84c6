#include "imageio/BmpWriter.h"

namespace velinor::imageio {
namespace {

void Put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    Put16(at, value & 0xFFFF);
    Put16(at + 2, value >> 16);
}

}  // namespace

std::array<std::uint8_t, kBmpHeaderSize> BmpHeader(const BgrBuffer& buffer) {
    // Largest picture: 98304 * 32767 bytes, well inside 32 bits.
    const auto imageSize = static_cast<std::uint32_t>(buffer.stride * static_cast<std::size_t>(buffer.height));
    std::array<std::uint8_t, kBmpHeaderSize> h{};
    h[0] = 'B';
    h[1] = 'M';
    Put32(&h[2], static_cast<std::uint32_t>(kBmpHeaderSize) + imageSize);
    Put32(&h[10], kBmpHeaderSize);
    Put32(&h[14], 40);
    Put32(&h[18], static_cast<std::uint32_t>(buffer.width));
    Put32(&h[22], static_cast<std::uint32_t>(buffer.height));
    Put16(&h[26], 1);
    Put16(&h[28], 24);
    Put32(&h[34], imageSize);
    // Compression, resolutions and colour counts stay 0.
    return h;
}

bool WriteBmp(std::FILE* file, const BgrBuffer& buffer) {
    const auto header = BmpHeader(buffer);
    const std::size_t imageSize = buffer.stride * static_cast<std::size_t>(buffer.height);
    if (buffer.bytes.size() < imageSize) return false;
    return std::fwrite(header.data(), 1, 14, file) == 14 &&
           std::fwrite(header.data() + 14, 1, 40, file) == 40 &&
           std::fwrite(buffer.bytes.data(), 1, imageSize, file) == imageSize;
}

}  // namespace velinor::imageio
