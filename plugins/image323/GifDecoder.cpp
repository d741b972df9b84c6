#include "plugins/image323/GifDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace velinor::plugins {
namespace {

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;

    std::size_t Remaining() const { return size - position; }
};

int ReadFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    if (wanted <= 0) return 0;
    const std::size_t n = std::min(static_cast<std::size_t>(wanted), reader->Remaining());
    std::memcpy(out, reader->data + reader->position, n);
    reader->position += n;
    return static_cast<int>(n);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifFile = std::unique_ptr<GifFileType, GifCloser>;

// Skips an extension and its sub-blocks. The transparent index of a graphic control block is
// not needed: transparent pixels keep their palette colour.
bool SkipExtension(GifFileType* gif) {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK) return false;
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK) return false;
    }
    return true;
}

// Rows in the order they are stored: interlaced frames in four passes.
std::vector<int> StoredRowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    constexpr int start[] = {0, 4, 2, 1};
    constexpr int step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass]) order.push_back(y);
    return order;
}

std::optional<Picture> DecodeFrame(GifFileType* gif, const MemoryReader& reader) {
    if (DGifGetImageDesc(gif) != GIF_OK) return std::nullopt;
    const GifImageDesc& frame = gif->Image;
    const ColorMapObject* colours = frame.ColorMap != nullptr ? frame.ColorMap : gif->SColorMap;
    if (colours == nullptr || colours->Colors == nullptr || colours->ColorCount <= 0) return std::nullopt;
    if (!AcceptableSize(frame.Width, frame.Height)) return std::nullopt;
    const auto pixelCount = static_cast<std::uint64_t>(frame.Width) * static_cast<std::uint64_t>(frame.Height);
    if (pixelCount > MaxLzwPixels(reader.Remaining())) return std::nullopt;

    // The frame's colour indices are read first, into a store that grows with the lines the
    // data really holds: a file of random bytes claiming a huge frame fails after a few lines
    // having cost a few lines. Only data that decoded whole gets a picture allocated for it.
    const std::size_t width = static_cast<std::size_t>(frame.Width);
    std::vector<GifPixelType> indices;
    for (int stored = 0; stored < frame.Height; ++stored) {
        indices.resize(indices.size() + width);
        if (DGifGetLine(gif, indices.data() + indices.size() - width, frame.Width) != GIF_OK) return std::nullopt;
    }

    std::uint32_t palette[256] = {};
    const int colourCount = std::min(colours->ColorCount, 256);
    for (int i = 0; i < colourCount; ++i)
        palette[i] = Rgb(colours->Colors[i].Red, colours->Colors[i].Green, colours->Colors[i].Blue);

    std::optional<Picture> picture(std::in_place);
    picture->width = frame.Width;
    picture->height = frame.Height;
    // Not cleared: every pixel is written below.
    picture->pixels.reset(new (std::nothrow) std::uint32_t[static_cast<std::size_t>(pixelCount)]);
    if (!picture->pixels) return std::nullopt;
    const GifPixelType* line = indices.data();
    for (int y : StoredRowOrder(frame.Height, frame.Interlace)) {
        std::uint32_t* out = picture->pixels.get() + static_cast<std::size_t>(y) * width;
        // Indices past the palette (a corrupt file) come out black.
        for (std::size_t x = 0; x < width; ++x) out[x] = palette[line[x]];
        line += width;
    }
    return picture;
}

}  // namespace

std::uint64_t MaxLzwPixels(std::size_t bytes) {
    constexpr std::uint64_t kFullTable = 4096;
    const std::uint64_t codes = static_cast<std::uint64_t>(bytes) * 8 / 3 + 1;
    if (codes < kFullTable) return codes * (codes + 3) / 2;
    const std::uint64_t growing = (kFullTable - 1) * (kFullTable + 2) / 2;
    return growing + (codes - (kFullTable - 1)) * kFullTable;
}

std::optional<Picture> DecodeGif(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < 13) return std::nullopt;
    MemoryReader reader{data, size, 0};
    int error = 0;
    GifFile gif(DGifOpen(&reader, ReadFromMemory, &error));
    if (!gif) return std::nullopt;

    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) != GIF_OK) return std::nullopt;
        switch (record) {
            case EXTENSION_RECORD_TYPE:
                if (!SkipExtension(gif.get())) return std::nullopt;
                break;
            case IMAGE_DESC_RECORD_TYPE:
                return DecodeFrame(gif.get(), reader);
            default:
                return std::nullopt;  // trailer or junk before any frame
        }
    }
}

}  // namespace velinor::plugins
