// Every variant of every format, written by ImageMagick at test time, must decode exactly as
// ImageMagick decodes it (JPEG: within 2 per channel of libjpeg-turbo's djpeg).
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "DecodeTestSupport.h"
#include "imageio/Loader.h"

namespace velinor::imageio {
namespace {

using decode_testing::Bytes;

// ConvertUpright: this ImageMagick keeps TGA rows in stored order and only records the
// orientation, so its reference is taken with -auto-orient.
enum class Reference { ConvertExact, ConvertUpright, Djpeg, ConvertClose };

struct Variant {
    std::string name;
    std::string convertArgs;   // between the source and the output file
    std::string output;         // output name, with an explicit coder prefix where needed
    bool alphaSource = false;
    Reference reference = Reference::ConvertExact;
    std::function<bool(const Bytes&)> isVariant;  // the file really is what the case claims
};

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

std::function<bool(const Bytes&)> Bmp(std::uint32_t header, int bits, std::uint32_t compression) {
    return [=](const Bytes& b) {
        if (b.size() < 34 || Le32(b, 14) != header) return false;
        if (header == 12) return b[24] == bits;
        return b[28] == bits && Le32(b, 30) == compression;
    };
}

std::function<bool(const Bytes&)> Png(int depth, int colourType, int interlace) {
    return [=](const Bytes& b) {
        return b.size() > 28 && b[24] == depth && b[25] == colourType && b[28] == interlace;
    };
}

std::function<bool(const Bytes&)> Tga(int type, int bits, int origin) {
    return [=](const Bytes& b) {
        return b.size() > 18 && b[2] == type && b[16] == bits && (b[17] & 0x30) == origin;
    };
}

std::function<bool(const Bytes&)> Jpeg(int components) {
    // Components of the first start-of-frame marker.
    return [=](const Bytes& b) {
        for (std::size_t i = 2; i + 9 < b.size(); ++i) {
            if (b[i] == 0xFF && (b[i + 1] == 0xC0 || b[i + 1] == 0xC1 || b[i + 1] == 0xC2)) {
                return b[i + 9] == components;
            }
        }
        return false;
    };
}

// Four components with the Adobe marker's transform 2: the inks stored as YCCK.
bool IsYcck(const Bytes& b) {
    const std::size_t at = std::string(b.begin(), b.end()).find("Adobe");
    return Jpeg(4)(b) && at != std::string::npos && at + 11 < b.size() && b[at + 11] == 2;
}

const std::string kPalette16 = "-colors 16 -type Palette -compress None ";
const std::string kPalette200 = "-colors 200 -type Palette -compress None ";
const std::string kGreyPng = "-colorspace Gray -define png:color-type=0 ";

std::vector<Variant> Variants() {
    return {
        {"Bmp24", "-type TrueColor", "BMP3:x.bmp", false, Reference::ConvertExact, Bmp(40, 24, 0)},
        {"Bmp8Palette", kPalette200, "BMP3:x.bmp", false, Reference::ConvertExact, Bmp(40, 8, 0)},
        {"Bmp4Palette", kPalette16, "BMP3:x.bmp", false, Reference::ConvertExact, Bmp(40, 4, 0)},
        {"Bmp1Palette", "-colors 2 -type Palette -compress None", "BMP3:x.bmp", false, Reference::ConvertExact, Bmp(40, 1, 0)},
        {"Bmp8Rle", "-colors 200 -type Palette -compress RLE", "BMP3:x.bmp", false, Reference::ConvertExact, Bmp(40, 8, 1)},
        {"Bmp32V5Alpha", "", "BMP:x.bmp", true, Reference::ConvertExact, Bmp(124, 32, 3)},
        {"Bmp24V5", "-type TrueColor", "BMP:x.bmp", false, Reference::ConvertExact, Bmp(124, 24, 0)},
        {"Bmp24Os2", "-type TrueColor", "BMP2:x.bmp", false, Reference::ConvertExact, Bmp(12, 24, 0)},
        {"Bmp8Os2", kPalette200, "BMP2:x.bmp", false, Reference::ConvertExact, Bmp(12, 8, 0)},
        {"Bmp4Os2", kPalette16, "BMP2:x.bmp", false, Reference::ConvertExact, Bmp(12, 4, 0)},

        {"PngRgb8", "", "PNG24:x.png", false, Reference::ConvertExact, Png(8, 2, 0)},
        {"PngRgb16", "", "PNG48:x.png", false, Reference::ConvertExact, Png(16, 2, 0)},
        {"PngRgba8", "", "PNG32:x.png", true, Reference::ConvertExact, Png(8, 6, 0)},
        {"PngRgba16", "", "PNG64:x.png", true, Reference::ConvertExact, Png(16, 6, 0)},
        {"PngPalette", kPalette200, "PNG8:x.png", false, Reference::ConvertExact, Png(8, 3, 0)},
        {"PngPaletteTransparent", "-colors 60", "PNG8:x.png", true, Reference::ConvertExact, Png(8, 3, 0)},
        {"PngPalette4", kPalette16 + "-define png:bit-depth=4", "PNG8:x.png", false, Reference::ConvertExact, Png(4, 3, 0)},
        {"PngGrey1", kGreyPng + "-threshold 50% -define png:bit-depth=1", "x.png", false, Reference::ConvertExact, Png(1, 0, 0)},
        {"PngGrey2", kGreyPng + "-posterize 4 -define png:bit-depth=2", "x.png", false, Reference::ConvertExact, Png(2, 0, 0)},
        {"PngGrey4", kGreyPng + "-posterize 16 -define png:bit-depth=4", "x.png", false, Reference::ConvertExact, Png(4, 0, 0)},
        {"PngGrey8", kGreyPng + "-define png:bit-depth=8", "x.png", false, Reference::ConvertExact, Png(8, 0, 0)},
        {"PngGrey16", kGreyPng + "-define png:bit-depth=16", "x.png", false, Reference::ConvertExact, Png(16, 0, 0)},
        {"PngGreyAlpha", "-colorspace Gray -define png:color-type=4 -define png:bit-depth=8", "x.png", true, Reference::ConvertExact, Png(8, 4, 0)},
        {"PngInterlacedRgb", "-interlace PNG", "PNG24:x.png", false, Reference::ConvertExact, Png(8, 2, 1)},
        {"PngInterlacedRgba16", "-interlace PNG", "PNG64:x.png", true, Reference::ConvertExact, Png(16, 6, 1)},
        {"PngInterlacedGrey2", "-interlace PNG " + kGreyPng + "-posterize 4 -define png:bit-depth=2", "x.png", false, Reference::ConvertExact, Png(2, 0, 1)},
        {"PngInterlacedPalette", "-interlace PNG " + kPalette200, "PNG8:x.png", false, Reference::ConvertExact, Png(8, 3, 1)},

        {"Tga24BottomUp", "", "x.tga", false, Reference::ConvertUpright, Tga(2, 24, 0x00)},
        {"Tga24TopDown", "-orient TopLeft", "x.tga", false, Reference::ConvertUpright, Tga(2, 24, 0x20)},
        {"Tga32", "", "x.tga", true, Reference::ConvertUpright, Tga(2, 32, 0x00)},
        {"Tga24Rle", "-compress RLE", "x.tga", false, Reference::ConvertUpright, Tga(10, 24, 0x00)},
        {"Tga24RleTopDown", "-compress RLE -orient TopLeft", "x.tga", false, Reference::ConvertUpright, Tga(10, 24, 0x20)},
        {"Tga32Rle", "-compress RLE", "x.tga", true, Reference::ConvertUpright, Tga(10, 32, 0x00)},

        {"JpegBaseline420", "-quality 85", "x.jpg", false, Reference::Djpeg, Jpeg(3)},
        {"JpegBaseline444", "-quality 92 -sampling-factor 1x1", "x.jpg", false, Reference::Djpeg, Jpeg(3)},
        {"JpegProgressive", "-quality 80 -interlace JPEG", "x.jpg", false, Reference::Djpeg, Jpeg(3)},
        {"JpegGrey", "-colorspace Gray", "x.jpg", false, Reference::Djpeg, Jpeg(1)},
        {"JpegYcck", "-colorspace CMYK -quality 95", "x.jpg", false, Reference::ConvertClose, IsYcck},
    };
}

void PrintTo(const Variant& variant, std::ostream* out) { *out << variant.name; }

class DecodeCrossCheck : public ::testing::TestWithParam<Variant> {};

TEST_P(DecodeCrossCheck, AgreesWithIndependentDecoder) {
    const Variant& variant = GetParam();
    if (!decode_testing::HaveTool("convert")) GTEST_SKIP() << "ImageMagick convert is not installed";
    if (variant.reference == Reference::Djpeg && !decode_testing::HaveTool("djpeg")) GTEST_SKIP() << "djpeg missing";

    decode_testing::TempFolder folder;
    const std::string source = folder / "source.pam";
    decode_testing::WritePatternPam(source, 37, 23, variant.alphaSource);
    const std::string coderPrefix = variant.output.substr(0, variant.output.find(':') + 1);
    const std::string file_name = variant.output.substr(variant.output.find(':') + 1);
    const std::string file = folder / file_name;
    ASSERT_TRUE(decode_testing::Run("convert '" + source + "' -depth 8 " + variant.convertArgs + " '" +
                             coderPrefix + file + "'"));
    ASSERT_TRUE(variant.isVariant(decode_testing::ReadBytes(file))) << "convert did not write the variant";

    const auto ours = DecodePictureFile(file).image;
    ASSERT_TRUE(ours.has_value());
    EXPECT_FALSE(ours->IsIcon());
    const auto reference = variant.reference == Reference::Djpeg
                               ? decode_testing::DjpegReference(file)
                               : decode_testing::ConvertReference(file, variant.reference == Reference::ConvertUpright);
    ASSERT_TRUE(reference.has_value());
    const bool exact = variant.reference == Reference::ConvertExact || variant.reference == Reference::ConvertUpright;
    const int tolerance = exact ? 0 : 2;
    const int difference = decode_testing::MaxChannelDifference(decode_testing::ToRgb(*ours), *reference);
    EXPECT_GE(difference, 0) << "sizes differ: " << ours->width << "x" << ours->height << " against "
                             << reference->width << "x" << reference->height;
    EXPECT_LE(difference, tolerance);
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodeCrossCheck, ::testing::ValuesIn(Variants()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velinor::imageio
