#include "imageio/JpegWriter.h"

#include <csetjmp>
#include <new>
#include <vector>

// jpeglib.h needs size_t and FILE declared first.
#include <jpeglib.h>

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

// Holds no object with a destructor: the error path longjmps out of library calls into here.
bool Compress(std::FILE* file, const BgrBuffer& buffer, int quality, JSAMPLE* row) {
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
    info.image_width = static_cast<JDIMENSION>(buffer.width);
    info.image_height = static_cast<JDIMENSION>(buffer.height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, JpegLibraryQuality(quality), FALSE);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < buffer.height; ++y) {
        const std::uint8_t* source = buffer.TopRow(y);
        JSAMPLE* out = row;
        for (int x = 0; x < buffer.width; ++x) {
            out[0] = source[2];
            out[1] = source[1];
            out[2] = source[0];
            out += 3;
            source += 3;
        }
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

bool WriteJpeg(std::FILE* file, const BgrBuffer& buffer, int quality) {
    if (file == nullptr || buffer.width <= 0 || buffer.height <= 0) return false;
    std::vector<JSAMPLE> row;
    try {
        row.resize(2 * buffer.stride);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return Compress(file, buffer, quality, row.data());
}

}  // namespace velinor::imageio
