#include "imageio/JpegConvert.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "imageio/AtomicFile.h"
#include "imageio/DecodeLimits.h"
#include "imageio/FileBytes.h"
#include "imageio/JpegReading.h"
#include "imageio/JpegWriter.h"
#include "imageio/PictureHead.h"

namespace velinor::imageio {

namespace {

// Rows decoded and encoded at a time: the library's largest row group, so that neither side
// keeps rows of its own waiting.
constexpr int kBandRows = 16;

// Only trivially destructible locals live here: an error of either library object jumps back
// to the setjmp and skips no destructor. The compressor shares the decompressor's error manager.
bool Pump(JpegReader& reader, const JpegSource& source, jpeg_compress_struct& writer, std::FILE* out, int quality,
          const DecodeLimits& limits, std::uint8_t* band) {
    jpeg_decompress_struct& info = reader.info();
    if (setjmp(reader.jump())) return false;

    if (!reader.Start(source)) return false;
    if (!FitsLimits(info.image_width, info.image_height, limits)) return false;
    if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) return false;
    if (OrientationOf(info) != 1) return false;
    // The same decoded rows as the whole-picture decoder's, whose fourth byte the writer skips.
    info.out_color_space = JCS_EXT_RGBX;
    jpeg_start_decompress(&info);
    if (info.output_width != info.image_width || info.output_height != info.image_height ||
        info.output_components != 4) {
        return false;
    }

    writer.err = &reader.errors();
    jpeg_create_compress(&writer);
    jpeg_stdio_dest(&writer, out);
    SetUpCompressor(writer, static_cast<int>(info.output_width), static_cast<int>(info.output_height), quality, true);
    jpeg_start_compress(&writer, TRUE);
    const std::size_t stride = static_cast<std::size_t>(info.output_width) * 4;
    while (info.output_scanline < info.output_height) {
        const int rows = static_cast<int>(std::min<JDIMENSION>(kBandRows, info.output_height - info.output_scanline));
        JSAMPROW targets[kBandRows];
        for (int r = 0; r < rows; ++r) targets[r] = band + static_cast<std::size_t>(r) * stride;
        for (int done = 0; done < rows;) {
            const JDIMENSION got = jpeg_read_scanlines(&info, targets + done, static_cast<JDIMENSION>(rows - done));
            if (got == 0) return false;
            done += static_cast<int>(got);
        }
        jpeg_write_scanlines(&writer, targets, static_cast<JDIMENSION>(rows));
    }
    jpeg_finish_compress(&writer);
    return true;
}

}  // namespace

bool ConvertJpegRowByRow(const std::string& input, const std::string& output, int quality) {
#ifndef JCS_EXTENSIONS
    return false;
#else
    try {
        auto file = PictureFile::Open(input);
        if (!file) return false;
        const DecodeLimits limits;
        if (JudgeHead(file->Head(), file->Size(), limits).kind != HeadVerdict::Kind::Stream) return false;
        // Room for the widest picture, left uncleared: only the pages a picture's rows reach are
        // ever touched.
        const std::unique_ptr<std::uint8_t[]> band(new std::uint8_t[static_cast<std::size_t>(kBandRows) *
                                                                     render::kMaxImageSide * 4]);
        AtomicFile out(output);
        if (!out.IsOpen()) return false;
        JpegReader reader;
        jpeg_compress_struct writer{};
        const bool written = Pump(reader, JpegSource{{}, file->Stream()}, writer, out.Stream(), quality, limits,
                                  band.get());
        jpeg_destroy_compress(&writer);
        return written && out.Commit();
    } catch (const std::exception&) {
        return false;
    }
#endif
}

}  // namespace velinor::imageio
