#include "imageio/JpegConvert.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <memory>

#include "imageio/AtomicFile.h"
#include "imageio/BgrRows.h"
#include "imageio/BmpWriter.h"
#include "imageio/DecodeLimits.h"
#include "imageio/FileBytes.h"
#include "imageio/JpegMetadata.h"
#include "imageio/JpegReading.h"
#include "imageio/JpegWriter.h"
#include "imageio/MetadataBlocks.h"
#include "imageio/PictureHead.h"
#include "imageio/Writer.h"

namespace velinor::imageio {

namespace {

// Rows decoded and written at a time: the library's largest row group, so that neither side
// keeps rows of its own waiting.
constexpr int kBandRows = 16;

struct Output {
    std::FILE* file = nullptr;
    bool bmp = false;  // else JPEG
    int quality = kDefaultJpegQuality;
    jpeg_compress_struct* writer = nullptr;
    // What a JPEG carries: the markers and profile of the metadata made for it.
    const std::vector<JpegMarker>* markers = nullptr;
    const std::vector<std::uint8_t>* icc = nullptr;
};

// A band of rows of a bottom-up BMP goes to its place in the file: rows y..y+count-1 (counted
// from the top) lie, last one first, just before the rows above them.
bool WriteBmpBand(std::FILE* file, const std::uint8_t* band, int y, int count, int height, std::size_t stride) {
    const auto offset = static_cast<off_t>(kBmpHeaderSize + static_cast<std::size_t>(height - y - count) * stride);
    const std::size_t bytes = static_cast<std::size_t>(count) * stride;
    return ::fseeko(file, offset, SEEK_SET) == 0 && std::fwrite(band, 1, bytes, file) == bytes;
}

// Reads the header and tells whether the picture can go a band at a time. Only trivially
// destructible locals live here and in Pump: an error of either library object jumps back to the
// setjmp and skips no destructor.
bool StartInput(JpegReader& reader, const JpegSource& source, const DecodeLimits& limits) {
    jpeg_decompress_struct& info = reader.info();
    if (setjmp(reader.jump())) return false;
    if (!reader.Start(source)) return false;
    if (!FitsLimits(info.image_width, info.image_height, limits)) return false;
    return info.jpeg_color_space != JCS_CMYK && info.jpeg_color_space != JCS_YCCK;
}

// The compressor shares the decompressor's error manager.
bool Pump(JpegReader& reader, const Output& out, std::uint8_t* band) {
    jpeg_decompress_struct& info = reader.info();
    if (setjmp(reader.jump())) return false;
    // The same decoded values as the whole-picture decoder's: for a JPEG as red, green, blue and
    // a fourth byte the writer skips; for a BMP straight in the file's blue, green, red order.
    info.out_color_space = out.bmp ? JCS_EXT_BGR : JCS_EXT_RGBX;
    jpeg_start_decompress(&info);
    const int components = out.bmp ? 3 : 4;
    if (info.output_width != info.image_width || info.output_height != info.image_height ||
        info.output_components != components) {
        return false;
    }
    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const std::size_t stride = out.bmp ? BgrStride(width) : static_cast<std::size_t>(width) * 4;

    if (out.bmp) {
        const auto header = BmpHeader(width, height);
        if (std::fwrite(header.data(), 1, header.size(), out.file) != header.size()) return false;
        std::memset(band, 0, stride * kBandRows);  // the padding at the end of each row stays zero
    } else {
        out.writer->err = &reader.errors();
        jpeg_create_compress(out.writer);
        jpeg_stdio_dest(out.writer, out.file);
        SetUpCompressor(*out.writer, width, height, out.quality, true);
        jpeg_start_compress(out.writer, TRUE);
        WriteJpegMarkers(*out.writer, *out.markers, *out.icc);
    }
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        const int rows = std::min(kBandRows, height - y);
        JSAMPROW targets[kBandRows];
        for (int r = 0; r < rows; ++r) {
            // A BMP band is stored bottom row first.
            targets[r] = band + static_cast<std::size_t>(out.bmp ? rows - 1 - r : r) * stride;
        }
        for (int done = 0; done < rows;) {
            const JDIMENSION got = jpeg_read_scanlines(&info, targets + done, static_cast<JDIMENSION>(rows - done));
            if (got == 0) return false;
            done += static_cast<int>(got);
        }
        if (out.bmp) {
            if (!WriteBmpBand(out.file, band, y, rows, height, stride)) return false;
        } else {
            jpeg_write_scanlines(out.writer, targets, static_cast<JDIMENSION>(rows));
        }
    }
    if (!out.bmp) jpeg_finish_compress(out.writer);
    return true;
}

}  // namespace

bool ConvertJpegRowByRow(const std::string& input, const std::string& output, std::uint32_t encoder, int quality,
                         const MetadataChoices& choices, std::vector<std::string>* warnings) {
#ifndef JCS_EXTENSIONS
    return false;
#else
    if (encoder != kEncoderJpeg && encoder != kEncoderBmp) return false;
    try {
        auto file = PictureFile::Open(input);
        if (!file) return false;
        const DecodeLimits limits;
        if (JudgeHead(file->Head(), file->Size(), limits).kind != HeadVerdict::Kind::Stream) return false;
        AtomicFile out(output);
        if (!out.IsOpen()) return false;
        // A BMP is written bottom up by seeking, which only a file allows, not a device.
        if (encoder == kEncoderBmp && out.TemporaryPath().empty()) return false;
        // Room for the widest picture, left uncleared: only the pages a picture's rows reach are
        // ever touched.
        const std::unique_ptr<std::uint8_t[]> band(new std::uint8_t[static_cast<std::size_t>(kBandRows) *
                                                                     render::kMaxImageSide * 4]);
        JpegReader reader;
        if (!StartInput(reader, JpegSource{{}, file->Stream()}, limits)) return false;
        const PictureMetadata source = ReadJpegMetadata(reader.info());
        if (source.orientation != 1) return false;
        PictureMetadata kept;
        std::vector<JpegMarker> markers;
        if (encoder == kEncoderJpeg) {
            kept = PrepareMetadata(source, choices, static_cast<int>(reader.info().image_width),
                                   static_cast<int>(reader.info().image_height));
            markers = MetadataMarkers(kept);
        }
        jpeg_compress_struct writer{};
        const Output target{out.Stream(), encoder == kEncoderBmp, quality, &writer, &markers, &kept.icc};
        const bool written = Pump(reader, target, band.get());
        jpeg_destroy_compress(&writer);
        if (!written || !out.Commit()) return false;
        if (warnings != nullptr) {
            *warnings = source.warnings;
            warnings->insert(warnings->end(), kept.warnings.begin(), kept.warnings.end());
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
#endif
}

}  // namespace velinor::imageio
