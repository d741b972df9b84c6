#include "imageio/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imageio/ByteReader.h"
#include "imageio/PixelBytes.h"
#include "imageio/PngMetadata.h"

namespace velinor::imageio {

namespace {

constexpr std::uint8_t kOpaqueAlpha = 128;
// Deflate cannot expand data more than about 1032 times; image data that would need more
// cannot be what the header claims, so it is refused before anything is allocated.
constexpr unsigned long long kMaxDeflateRatio = 1032;
constexpr unsigned long long kDeflateSlack = 1 << 16;
// Nor does any encoder spend more than twice the raw bytes on them: image data beyond that is
// excess, which libpng would inflate to its end after the last row (gigabytes from a small file).
constexpr unsigned long long kMaxDeflateGrowth = 2;

// After its last row libpng inflates whatever image data is left, to its end: a few bytes in a
// sound file, gigabytes from a small hostile one. What the last row may still read is bounded
// by what that row can take, with room for chunk headers and libpng's reads of 8 KB, so data
// going on past the rows makes the picture damaged instead of costing its whole inflation.
constexpr std::size_t kLastRowChunkRoom = 16;
constexpr std::size_t kLastRowSlack = 64 * 1024;

struct MemorySource {
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
    std::size_t end = SIZE_MAX;   // no read goes past this position
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (length > source->bytes.size() - source->position) png_error(png, "data ends early");
    if (length > source->end - source->position) png_error(png, "image data goes on past its rows");
    std::memcpy(out, source->bytes.data() + source->position, length);
    source->position += length;
}

[[noreturn]] void FailDecode(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void IgnoreWarning(png_structp, png_const_charp) {}

// Owns libpng's read and info structures.
class PngReader {
public:
    PngReader() {
        png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, FailDecode, IgnoreWarning);
        if (png_ != nullptr) info_ = png_create_info_struct(png_);
    }
    ~PngReader() { png_destroy_read_struct(&png_, info_ != nullptr ? &info_ : nullptr, nullptr); }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;

    bool ok() const { return png_ != nullptr && info_ != nullptr; }
    png_structp png() const { return png_; }
    png_infop info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

// Total length of the IDAT chunks, walking the chunk list without trusting any length
// beyond the data.
unsigned long long ImageDataLength(const ByteReader& data) {
    unsigned long long total = 0;
    std::size_t pos = 8;
    while (true) {
        const auto length = data.U32be(pos);
        const auto type = data.U32be(pos + 4);
        if (!length || !type) break;
        if (*type == 0x49444154u) total += *length;  // "IDAT"
        if (*type == 0x49454E44u) break;              // "IEND"
        if (!data.Has(pos + 8, static_cast<std::size_t>(*length) + 4)) {
            total += data.Size() - (pos + 8);
            break;
        }
        pos += 12 + static_cast<std::size_t>(*length);
    }
    return total;
}

// Everything between setjmp and a libpng error lives in the caller (pixels) or in libpng,
// so the jump back skips no destructor.
bool ReadImage(PngReader& reader, MemorySource& source, const DecodeLimits& limits,
               unsigned long long imageData, bool keepAlpha, int& width, int& height,
               render::Pixels& pixels, render::Pixels& scratch,
               std::vector<png_bytep>& rows) {
    png_structp png = reader.png();
    png_infop info = reader.info();
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_read_fn(png, &source, ReadFromMemory);
    png_set_user_limits(png, static_cast<png_uint_32>(limits.maxSide),
                        static_cast<png_uint_32>(limits.maxSide));
    png_read_info(png, info);

    const png_uint_32 w = png_get_image_width(png, info);
    const png_uint_32 h = png_get_image_height(png, info);
    if (!FitsLimits(w, h, limits)) return false;
    const unsigned long long rowBytes = png_get_rowbytes(png, info);
    if (rowBytes * h > imageData * kMaxDeflateRatio + kDeflateSlack) return false;
    // Raw rows carry a filter byte each, and an interlaced picture's passes a few more bytes a row.
    if (imageData > (rowBytes + 16) * h * kMaxDeflateGrowth + kDeflateSlack) return false;

    const int colourType = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colourType == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (depth == 16) png_set_scale_16(png);
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    if (keepAlpha) {
        if (hasTransparency) png_set_tRNS_to_alpha(png);
        png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    } else {
        png_set_strip_alpha(png);
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(w) * 4) return false;

    // Set before the last row is read: from then on only what that row needs may follow.
    const auto boundLastRow = [&] {
        source.end = source.position + kLastRowChunkRoom * (static_cast<std::size_t>(rowBytes) + 16) + kLastRowSlack;
    };
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    const std::size_t count = static_cast<std::size_t>(w) * h;
    // Each row arrives as R, G, B, alpha-or-0 bytes in the Color store, converted afterwards.
    if (passes == 1) {
        // Each row goes through a scratch row that stays in the cache and is appended to the
        // reserved store, so the store is written once, never cleared first, and committed
        // only as far as the data goes.
        pixels.reserve(count);
        scratch.resize(w);
        for (png_uint_32 y = 0; y < h; ++y) {
            if (y + 1 == h) boundLastRow();
            png_read_row(png, reinterpret_cast<png_bytep>(scratch.data()), nullptr);
            pixels.insert(pixels.end(), scratch.begin(), scratch.end());
        }
    } else {
        // Interlaced passes each fill part of every row: the whole store must exist first.
        pixels.reserve(count);
        pixels.resize(count);
        rows.resize(h);
        for (png_uint_32 y = 0; y < h; ++y) {
            rows[y] = reinterpret_cast<png_bytep>(pixels.data() + static_cast<std::size_t>(y) * w);
        }
        // Each pass visits every row (libpng skips those it holds nothing for), as
        // png_read_image would, with the bound set before the last row of the last pass.
        for (int pass = 0; pass < passes; ++pass) {
            for (png_uint_32 y = 0; y < h; ++y) {
                if (pass + 1 == passes && y + 1 == h) boundLastRow();
                png_read_row(png, rows[y], nullptr);
            }
        }
    }
    return true;
}

std::optional<render::RasterImage> Decode(std::span<const std::uint8_t> bytes,
                                          const DecodeLimits& limits, bool asIcon, PictureMetadata* metadata) {
    if (!LooksLikePng(bytes)) return std::nullopt;
    std::vector<std::string> refused;
    const std::vector<std::uint8_t> trimmed = WithoutOversizedChunks(bytes, refused);
    if (!trimmed.empty()) bytes = trimmed;
    PngReader reader;
    if (!reader.ok()) return std::nullopt;
    MemorySource source{bytes, 0};
    const unsigned long long imageData = ImageDataLength(ByteReader(bytes));
    int width = 0;
    int height = 0;
    render::Pixels pixels;
    render::Pixels scratch;
    std::vector<png_bytep> rows;
    if (!ReadImage(reader, source, limits, imageData, asIcon, width, height, pixels, scratch, rows)) {
        return std::nullopt;
    }
    if (metadata != nullptr) {
        *metadata = ReadPngMetadata(reader.png(), reader.info());
        metadata->warnings.insert(metadata->warnings.begin(), refused.begin(), refused.end());
    }

    render::RasterImage image;
    image.width = width;
    image.height = height;
    if (asIcon) {
        image.mask.resize(pixels.size());
        RgbxBytesToColors(pixels.data(), pixels.size(), image.mask.data());
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            image.mask[i] = image.mask[i] >= kOpaqueAlpha ? 1 : 0;
            if (image.mask[i] == 0) pixels[i] = render::kBlack;
        }
    } else {
        RgbxBytesToColors(pixels.data(), pixels.size());
    }
    image.pixels = std::move(pixels);
    return image;
}

}  // namespace

bool LooksLikePng(std::span<const std::uint8_t> bytes) {
    static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return bytes.size() >= 8 && std::memcmp(bytes.data(), kSignature, 8) == 0;
}

std::optional<render::RasterImage> DecodePng(std::span<const std::uint8_t> bytes,
                                             const DecodeLimits& limits, PictureMetadata* metadata) {
    return Decode(bytes, limits, false, metadata);
}

std::optional<render::RasterImage> DecodePngIcon(std::span<const std::uint8_t> bytes,
                                                 const DecodeLimits& limits) {
    return Decode(bytes, limits, true, nullptr);
}

}  // namespace velinor::imageio
