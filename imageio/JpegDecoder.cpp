#include "imageio/JpegDecoder.h"

// jpeglib.h needs size_t and FILE declared first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <optional>
#include <vector>

#include "imageio/JpegMetadata.h"
#include "imageio/JpegReading.h"
#include "imageio/Orientation.h"
#include "imageio/PixelBytes.h"

namespace velinor::imageio {

namespace {

std::uint8_t MultiplyChannels(unsigned a, unsigned b) {
    return static_cast<std::uint8_t>((a * b + 127) / 255);
}

// Adobe's CMYK files store the inks inverted (255 = no ink); others store them plainly.
void CmykRowToColors(const std::uint8_t* cmyk, render::Color* out, std::size_t width, bool inverted) {
    for (std::size_t x = 0; x < width; ++x, cmyk += 4) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = 255 - c; m = 255 - m; y = 255 - y; k = 255 - k;
        }
        out[x] = ColorFromBgr(MultiplyChannels(y, k), MultiplyChannels(m, k), MultiplyChannels(c, k));
    }
}

// Only trivially destructible locals live here: a libjpeg error jumps back to the setjmp and
// skips no destructor. The builder and scratch rows belong to the caller.
bool ReadPicture(JpegReader& reader, const JpegSource& source, const DecodeLimits& limits,
                 std::optional<UprightBuilder>& builder, std::vector<std::uint8_t>& scratch,
                 PictureSize* oversized, RowWatcher* watcher, PictureMetadata& metadata) {
    jpeg_decompress_struct& info = reader.info();
    if (setjmp(reader.jump())) return false;

    if (!reader.Start(source)) return false;
    if (!FitsLimits(info.image_width, info.image_height, limits)) {
        if (oversized != nullptr && info.image_width > 0 && info.image_height > 0) {
            *oversized = {info.image_width, info.image_height};
        }
        return false;
    }

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    // Four bytes a pixel (R, G, B, spare) decoded straight into the rows and turned into Colors.
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBX;
    jpeg_start_decompress(&info);
    if (info.output_width != info.image_width || info.output_height != info.image_height ||
        info.output_components != 4) {
        return false;
    }

    const std::size_t w = info.output_width;
    // The upright store is committed as rows arrive (for the orientations that keep row
    // order), so a header that promises more than the data holds costs little.
    metadata = ReadJpegMetadata(info);
    const int orientation = metadata.orientation;
    builder.emplace(static_cast<int>(info.output_width), static_cast<int>(info.output_height), orientation);
    // A turned picture's rows arrive in stored order, not upright: they are not shown.
    RowWatcher* const upright = orientation == 1 ? watcher : nullptr;
    if (upright != nullptr) upright->Begin(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
    if (cmyk) scratch.resize(w * 4 * UprightBuilder::kBlockRows);
    while (info.output_scanline < info.output_height) {
        // A block of rows at a time: the library fills them in its own groups (two rows for
        // 4:2:0 pictures) and the block is converted while it is still in the cache.
        const int rows = static_cast<int>(std::min<JDIMENSION>(UprightBuilder::kBlockRows,
                                                               info.output_height - info.output_scanline));
        render::Color* block = builder->Block();
        JSAMPROW targets[UprightBuilder::kBlockRows];
        for (int r = 0; r < rows; ++r) {
            targets[r] = cmyk ? scratch.data() + static_cast<std::size_t>(r) * w * 4
                              : reinterpret_cast<JSAMPROW>(block + static_cast<std::size_t>(r) * w);
        }
        for (int done = 0; done < rows;) {
            const JDIMENSION got = jpeg_read_scanlines(&info, targets + done, static_cast<JDIMENSION>(rows - done));
            if (got == 0) return false;
            done += static_cast<int>(got);
        }
        if (cmyk) {
            for (int r = 0; r < rows; ++r) {
                CmykRowToColors(targets[r], block + static_cast<std::size_t>(r) * w, w, info.saw_Adobe_marker != 0);
            }
        } else {
            RgbxBytesToColors(block, static_cast<std::size_t>(rows) * w);
        }
        const int first = static_cast<int>(info.output_scanline) - rows;
        builder->Add(rows);
        // Shown in place, where they stay: a watcher may read them again until the picture goes.
        if (upright != nullptr) upright->Rows(builder->AddedRow(first), rows);
    }
    return true;
}

std::optional<render::RasterImage> Decode(const JpegSource& source, const DecodeLimits& limits,
                                          PictureSize* oversized, RowWatcher* watcher, PictureMetadata* wanted) {
    JpegReader reader;
    std::optional<UprightBuilder> builder;
    std::vector<std::uint8_t> scratch;
    // The caller's metadata is filled before the watcher begins, and emptied again on failure.
    PictureMetadata own;
    PictureMetadata& metadata = wanted != nullptr ? *wanted : own;
    // Declared after the builder, so a watcher hears of a failure (an exception included)
    // while the rows it was shown are still there.
    struct FailureNotice {
        RowWatcher* watcher;
        ~FailureNotice() {
            if (watcher != nullptr) watcher->Failed();
        }
    } notice{watcher};
    if (!ReadPicture(reader, source, limits, builder, scratch, oversized, watcher, metadata)) {
        metadata = {};
        return std::nullopt;
    }
    notice.watcher = nullptr;
    return builder->Finish();
}

}  // namespace

bool LooksLikeJpeg(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8;
}

std::optional<render::RasterImage> DecodeJpeg(std::span<const std::uint8_t> bytes,
                                              const DecodeLimits& limits, PictureMetadata* metadata) {
    if (!LooksLikeJpeg(bytes)) return std::nullopt;
    return Decode(JpegSource{bytes, nullptr}, limits, nullptr, nullptr, metadata);
}

std::optional<render::RasterImage> DecodeJpegFile(std::FILE* file, const DecodeLimits& limits,
                                                  PictureSize* oversized, RowWatcher* watcher,
                                                  PictureMetadata* metadata) {
    if (file == nullptr) return std::nullopt;
    return Decode(JpegSource{{}, file}, limits, oversized, watcher, metadata);
}

}  // namespace velinor::imageio
