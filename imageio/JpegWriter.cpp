#include "imageio/JpegWriter.h"

#include <bit>
#include <csetjmp>
#include <new>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

#include "imageio/JpegMetadata.h"

namespace velinor::imageio {
namespace {

// The standard error manager ends the process on an error; this one returns to the writer.
struct ReturningErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void ReturnToWriter(j_common_ptr info) {
    auto* manager = reinterpret_cast<ReturningErrorManager*>(info->err);
    std::longjmp(manager->jump, 1);
}

void DropMessage(j_common_ptr) {}

// A stored pixel 0x00BBGGRR lies in memory as the bytes red, green, blue, 0 on a little-endian
// machine: libjpeg-turbo reads such rows directly as RGBX, with the same colour conversion and
// output as from an RGB copy, saving a copy of every row.
#ifdef JCS_EXTENSIONS
constexpr bool kRowsAreRgbx = std::endian::native == std::endian::little;
#else
constexpr bool kRowsAreRgbx = false;
#endif

// Holds no object with a destructor: the error path longjmps out of library calls into here.
bool Compress(std::FILE* file, const BgrRows& rows, int quality, JSAMPLE* row, const std::vector<JpegMarker>& markers,
              const std::vector<std::uint8_t>& icc) {
    jpeg_compress_struct info{};
    ReturningErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = ReturnToWriter;
    errors.base.output_message = DropMessage;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    SetUpCompressor(info, rows.Width(), rows.Height(), quality, kRowsAreRgbx);
    jpeg_start_compress(&info, TRUE);
    WriteJpegMarkers(info, markers, icc);
    RowGate* const gate = rows.Gate();
    int allowed = gate != nullptr ? 0 : rows.Height();
    for (int y = 0; y < rows.Height(); ++y) {
        if (y >= allowed) {
            allowed = gate->WaitFor(y + 1);
            if (allowed <= y) {
                jpeg_destroy_compress(&info);
                return false;
            }
        }
        JSAMPROW scanline[1] = {row};
        if constexpr (kRowsAreRgbx) {
            // The library only reads input rows.
            scanline[0] = const_cast<JSAMPLE*>(reinterpret_cast<const JSAMPLE*>(rows.Pixels(y)));
        } else {
            rows.TopRowRgb(y, row);
        }
        jpeg_write_scanlines(&info, scanline, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

void SetUpCompressor(jpeg_compress_struct& info, int width, int height, int quality, bool rgbx) {
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
#ifdef JCS_EXTENSIONS
    info.input_components = rgbx ? 4 : 3;
    info.in_color_space = rgbx ? JCS_EXT_RGBX : JCS_RGB;
#else
    (void)rgbx;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
#endif
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, JpegLibraryQuality(quality), FALSE);
}

bool WriteJpeg(std::FILE* file, const BgrRows& rows, int quality, const PictureMetadata* metadata) {
    if (file == nullptr) return false;
    std::vector<JSAMPLE> row;
    std::vector<JpegMarker> markers;
    try {
        row.resize(2 * rows.Stride());
        if (metadata != nullptr) markers = MetadataMarkers(*metadata);
    } catch (const std::bad_alloc&) {
        return false;
    }
    static const std::vector<std::uint8_t> kNoProfile;
    return Compress(file, rows, quality, row.data(), markers, metadata != nullptr ? metadata->icc : kNoProfile);
}

}  // namespace velinor::imageio
