#include "imageio/PngWriter.h"

#include <png.h>

namespace velinor::imageio {
namespace {

[[noreturn]] void ReturnToWriter(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void DropWarning(png_structp, png_const_charp) {}

}  // namespace

bool WritePng(std::FILE* file, const BgrBuffer& buffer) {
    if (file == nullptr || buffer.width <= 0 || buffer.height <= 0) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ReturnToWriter, DropWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    // Nothing with a destructor lives in this frame: errors longjmp back to here.
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(buffer.width), static_cast<png_uint_32>(buffer.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_bgr(png);
    png_write_info(png, info);
    for (int y = 0; y < buffer.height; ++y) {
        // libpng copies each row before transforming it, so the buffer is only read.
        png_write_row(png, const_cast<png_bytep>(buffer.TopRow(y)));
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace velinor::imageio
