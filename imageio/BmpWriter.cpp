#include "imageio/BmpWriter.h"

#include <algorithm>
#include <vector>

namespace velinor::imageio {
namespace {

constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

void Put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    Put16(at, value & 0xFFFF);
    Put16(at + 2, value >> 16);
}

}  // namespace

std::array<std::uint8_t, kBmpHeaderSize> BmpHeader(int width, int height) {
    // Largest picture: 98304 * 32767 bytes, well inside 32 bits.
    const auto imageSize = static_cast<std::uint32_t>(BgrStride(width) * static_cast<std::size_t>(height));
    std::array<std::uint8_t, kBmpHeaderSize> h{};
    h[0] = 'B';
    h[1] = 'M';
    Put32(&h[2], static_cast<std::uint32_t>(kBmpHeaderSize) + imageSize);
    Put32(&h[10], kBmpHeaderSize);
    Put32(&h[14], 40);
    Put32(&h[18], static_cast<std::uint32_t>(width));
    Put32(&h[22], static_cast<std::uint32_t>(height));
    Put16(&h[26], 1);
    Put16(&h[28], 24);
    Put32(&h[34], imageSize);
    // Compression, resolutions and colour counts stay 0.
    return h;
}

bool WriteBmp(std::FILE* file, const BgrRows& rows) {
    const auto header = BmpHeader(rows.Width(), rows.Height());
    if (std::fwrite(header.data(), 1, 14, file) != 14 || std::fwrite(header.data() + 14, 1, 40, file) != 40) return false;
    // Rows are gathered into chunks of about a megabyte and written a chunk at a time: one
    // system call per chunk instead of one per row.
    const std::size_t stride = rows.Stride();
    const std::size_t chunkRows = std::max<std::size_t>(1, kChunkBytes / stride);
    std::vector<std::uint8_t> chunk(stride * std::min<std::size_t>(chunkRows, static_cast<std::size_t>(rows.Height())));
    std::size_t filled = 0;
    for (int y = rows.Height() - 1; y >= 0; --y) {
        rows.TopRow(y, chunk.data() + filled);
        filled += stride;
        if (filled == chunk.size() || y == 0) {
            if (std::fwrite(chunk.data(), 1, filled, file) != filled) return false;
            filled = 0;
        }
    }
    return true;
}

}  // namespace velinor::imageio
