#include "plugins/image323/IcoPng.h"

#include <png.h>

#include <cstring>

namespace velinor::plugins {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Deflate never packs more than 1032 bytes into one; rows hold a filter byte each.
constexpr std::uint64_t kMostInflation = 1032;

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t wanted) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (wanted > reader->size - reader->position) png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->position, wanted);
    reader->position += wanted;
}

[[noreturn]] void ReturnToDecoder(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void DropWarning(png_structp, png_const_charp) {}

// libpng's read and info structures, freed on every way out.
struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngReader() {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, ReturnToDecoder, DropWarning);
        if (png != nullptr) info = png_create_info_struct(png);
    }
    ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
};

// Holds nothing with a destructor: library errors longjmp back to here. The picture is made by
// the caller once the size is known to be acceptable (allocate is called at most once).
template <typename Allocate>
bool Decode(PngReader& reader, MemoryReader& source, Allocate allocate, std::vector<std::uint8_t>* rowBuffer,
            Picture** picture) {
    png_structp png = reader.png;
    png_infop info = reader.info;
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    png_set_read_fn(png, &source, ReadFromMemory);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (!AcceptableSize(width, height)) return false;
    // The compressed data must be able to hold the rows it claims before room is made for them.
    const std::uint64_t rawBytes = static_cast<std::uint64_t>(height) * (1 + static_cast<std::uint64_t>(png_get_rowbytes(png, info)));
    if (rawBytes > static_cast<std::uint64_t>(source.size) * kMostInflation) return false;

    png_set_expand(png);  // palette to RGB, low-bit grey to 8 bits, tRNS to alpha
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);  // opaque where the file has no alpha
    if (png_set_interlace_handling(png) != 1) return false;  // interlaced icons are not worth it
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<std::size_t>(width) * 4) return false;

    *picture = allocate(width, height);
    if (*picture == nullptr) return false;
    rowBuffer->resize(static_cast<std::size_t>(width) * 4);
    for (png_uint_32 y = 0; y < height; ++y) {
        png_read_row(png, rowBuffer->data(), nullptr);
        std::uint32_t* out = (*picture)->pixels.get() + static_cast<std::size_t>(y) * width;
        const std::uint8_t* p = rowBuffer->data();
        for (png_uint_32 x = 0; x < width; ++x, p += 4) out[x] = p[3] == 0 ? 0 : Rgb(p[0], p[1], p[2]);
    }
    return true;
}

}  // namespace

bool IsPngImage(const std::uint8_t* data, std::size_t size) {
    return data != nullptr && size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

std::optional<std::pair<std::int64_t, std::int64_t>> PngImageSize(const std::uint8_t* data, std::size_t size) {
    // Signature, IHDR length and type, then width and height big-endian.
    if (!IsPngImage(data, size) || size < 24 || std::memcmp(data + 12, "IHDR", 4) != 0) return std::nullopt;
    auto be32 = [&](std::size_t at) {
        return static_cast<std::int64_t>(data[at]) << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3];
    };
    return std::pair{be32(16), be32(20)};
}

std::optional<Picture> DecodePngImage(const std::uint8_t* data, std::size_t size) {
    if (!IsPngImage(data, size)) return std::nullopt;
    PngReader reader;
    if (reader.png == nullptr || reader.info == nullptr) return std::nullopt;
    MemoryReader source{data, size, 0};
    std::optional<Picture> result;
    auto allocate = [&result](png_uint_32 width, png_uint_32 height) -> Picture* {
        result = BlankPicture(width, height);
        return result ? &*result : nullptr;
    };
    std::vector<std::uint8_t> row;
    Picture* picture = nullptr;
    try {
        if (!Decode(reader, source, allocate, &row, &picture)) return std::nullopt;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    return result;
}

}  // namespace velinor::plugins
