#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "render/RasterImage.h"
#include "tests/support/ScratchFolder.h"

namespace velinor::imageio::decode_testing {

using Bytes = std::vector<std::uint8_t>;

// 8-bit RGB pixels, rows top-down: the common ground for comparing decoders.
struct RgbPicture {
    int width = 0;
    int height = 0;
    Bytes rgb;
};

using TempFolder = test_support::ScratchFolder;

// The outside tools the checks compare with are part of the test setup (scripts/install-deps
// installs them): a missing one fails the test that needs it, naming the tool.
::testing::AssertionResult ToolInstalled(const std::string& name);
// Runs a shell command, quiet; true when it exits with 0.
bool Run(const std::string& command);
// Standard output of a shell command, or nothing when it fails without any.
std::optional<Bytes> Capture(const std::string& command);

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);

// A test pattern in which neighbouring pixels differ in every channel. With alpha, the
// alpha channel holds a mix of fully transparent, partly transparent and opaque pixels.
RgbPicture Pattern(int width, int height);
// Writes the pattern as a PAM file (RGB or RGB_ALPHA), the source for ImageMagick.
void WritePatternPam(const std::string& path, int width, int height, bool withAlpha);
std::uint8_t PatternAlpha(int x, int y);

// How ImageMagick's convert sees a file: its first frame (or the frame given with [n]),
// turned upright by the orientation it read when autoOrient is set.
std::optional<RgbPicture> ConvertReference(const std::string& file, bool autoOrient = false);
// The alpha channel as convert sees it.
std::optional<Bytes> ConvertAlpha(const std::string& file);
// How libjpeg-turbo's own djpeg decodes a JPEG file.
std::optional<RgbPicture> DjpegReference(const std::string& file);

RgbPicture ToRgb(const render::RasterImage& image);
// Largest difference of any channel of any pixel; -1 when the sizes differ.
int MaxChannelDifference(const RgbPicture& a, const RgbPicture& b);

// Little-endian writers for crafting files byte by byte.
void Put16(Bytes& out, unsigned value);
void Put32(Bytes& out, std::uint32_t value);

}  // namespace velinor::imageio::decode_testing

namespace velinor::imageio::decode_testing {

// The fields of a bitmap to craft. Rows are given in stored order without padding (the
// builder pads uncompressed rows to four bytes); run-length data is given as its stream.
struct BmpFields {
    std::uint32_t headerSize = 40;
    std::int32_t width = 1;
    std::int32_t height = 1;
    int bits = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks;     // after a 40-byte header, inside larger ones
    std::vector<std::uint32_t> palette;   // 0x00RRGGBB entries
    std::uint32_t coloursUsed = 0;
    std::vector<Bytes> rows;
    Bytes stream;                         // run-length data instead of rows
};

// The header, masks, palette and pixels of a bitmap without the 14-byte file header (the
// layout stored inside icon files).
Bytes BuildDib(const BmpFields& fields);
// A whole BMP file.
Bytes BuildBmp(const BmpFields& fields);

}  // namespace velinor::imageio::decode_testing
