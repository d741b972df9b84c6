#include "imageio/PngWriter.h"

#include <png.h>

#include <new>
#include <vector>

#include "imageio/PngMetadata.h"

namespace velinor::imageio {
namespace {

[[noreturn]] void ReturnToWriter(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void DropWarning(png_structp, png_const_charp) {}

// Holds no object with a destructor: errors longjmp out of library calls into here.
bool Encode(std::FILE* file, const BgrRows& rows, png_bytep row, const PictureMetadata* metadata) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, ReturnToWriter, DropWarning);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rows.Width()), static_cast<png_uint_32>(rows.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    // Rows arrive blue, green, red; the library swaps them to the file's order.
    png_set_bgr(png);
    if (metadata != nullptr) SetPngMetadata(png, info, *metadata);
    png_write_info(png, info);
    ForgetWrittenExif(png, info);
    for (int y = 0; y < rows.Height(); ++y) {
        rows.TopRow(y, row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WritePng(std::FILE* file, const BgrRows& rows, const PictureMetadata* metadata) {
    if (file == nullptr) return false;
    std::vector<png_byte> row;
    try {
        row.resize(rows.Stride());
    } catch (const std::bad_alloc&) {
        return false;
    }
    return Encode(file, rows, row.data(), metadata);
}

}  // namespace velinor::imageio
