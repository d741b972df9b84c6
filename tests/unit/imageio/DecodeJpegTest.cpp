// What only JPEG files have: EXIF orientation turns the picture upright, plain CMYK, and truncated,
// corrupt and oversized files that give nothing.
#include <gtest/gtest.h>

#include <sstream>

#include <cstdio>

#include <jpeglib.h>

#include "DecodeTestSupport.h"
#include "LibjpegEncode.h"
#include "imageio/JpegDecoder.h"
#include "imageio/Orientation.h"

namespace velinor::imageio {
namespace {

using render::MakeColor;
using decode_testing::Bytes;

const render::Color kRed = MakeColor(255, 0, 0), kGreen = MakeColor(0, 255, 0), kBlue = MakeColor(0, 0, 255),
                    kWhite = render::kWhite;

// A 32 x 16 JPEG with solid quadrants: red top left, green top right, blue bottom left,
// white bottom right.
Bytes QuadrantJpeg(const decode_testing::TempFolder& folder) {
    std::ostringstream ppm;
    ppm << "P6\n32 16\n255\n";
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            const render::Color c = y < 8 ? (x < 16 ? kRed : kGreen) : (x < 16 ? kBlue : kWhite);
            ppm << char(render::RedOf(c)) << char(render::GreenOf(c)) << char(render::BlueOf(c));
        }
    }
    const std::string text = ppm.str();
    decode_testing::WriteBytes(folder / "q.ppm", Bytes(text.begin(), text.end()));
    if (!decode_testing::Run("convert '" + (folder / "q.ppm") + "' -quality 98 -sampling-factor 1x1 '" + (folder / "q.jpg") + "'")) return {};
    return decode_testing::ReadBytes(folder / "q.jpg");
}

// An APP1 segment holding a TIFF directory with one orientation entry.
Bytes ExifSegment(int orientation, bool bigEndian, std::uint32_t directoryOffset = 8) {
    Bytes tiff;
    auto put16 = [&](unsigned v) {
        if (bigEndian) tiff.insert(tiff.end(), {std::uint8_t(v >> 8), std::uint8_t(v)});
        else tiff.insert(tiff.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
    };
    auto put32 = [&](std::uint32_t v) {
        if (bigEndian) { put16(v >> 16); put16(v & 0xFFFF); }
        else { put16(v & 0xFFFF); put16(v >> 16); }
    };
    tiff.insert(tiff.end(), bigEndian ? std::initializer_list<std::uint8_t>{'M', 'M'} : std::initializer_list<std::uint8_t>{'I', 'I'});
    put16(42);
    put32(directoryOffset);
    put16(2);
    put16(0x010F); put16(2); put32(4); put32(0x4D414B45);  // a maker entry before the one we want
    put16(0x0112); put16(3); put32(1); put16(static_cast<unsigned>(orientation)); put16(0);
    put32(0);
    Bytes segment = {0xFF, 0xE1};
    const std::size_t length = 2 + 6 + tiff.size();
    segment.push_back(static_cast<std::uint8_t>(length >> 8));
    segment.push_back(static_cast<std::uint8_t>(length));
    segment.insert(segment.end(), {'E', 'x', 'i', 'f', 0, 0});
    segment.insert(segment.end(), tiff.begin(), tiff.end());
    return segment;
}

Bytes WithSegment(const Bytes& jpeg, const Bytes& segment) {
    Bytes out(jpeg.begin(), jpeg.begin() + 2);
    out.insert(out.end(), segment.begin(), segment.end());
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

class JpegFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(decode_testing::ToolInstalled("convert"));
        base_ = QuadrantJpeg(folder_);
        ASSERT_FALSE(base_.empty());
    }
    // Our decoding of picture, turned upright, is uprightWidth wide and matches ImageMagick's
    // upright reading of the same file.
    void ExpectUprightAsImageMagick(const Bytes& picture, int uprightWidth, int orientation) {
        const std::string file = folder_ / "turned.jpg";
        decode_testing::WriteBytes(file, picture);
        const auto ours = DecodeJpeg(picture);
        const auto reference = decode_testing::ConvertReference(file, true);
        ASSERT_TRUE(ours && reference) << orientation;
        EXPECT_EQ(ours->width, uprightWidth) << orientation;
        EXPECT_LE(decode_testing::MaxChannelDifference(decode_testing::ToRgb(*ours), *reference), 2) << orientation;
    }

    decode_testing::TempFolder folder_;
    Bytes base_;
};

TEST_F(JpegFiles, EveryExifOrientationIsTurnedUprightAsImageMagickDoes) {
    for (int orientation = 1; orientation <= 8; ++orientation) {
        ExpectUprightAsImageMagick(WithSegment(base_, ExifSegment(orientation, orientation % 2 == 0)),
                                   orientation >= 5 ? 16 : 32, orientation);
    }
}

// Wider and taller than the decoder's block of rows, with a partial last block, so that every
// orientation places several blocks and an odd remainder.
TEST_F(JpegFiles, OrientationsOfAPictureSpanningSeveralRowBlocks) {
    decode_testing::WritePatternPam(folder_ / "tall.pam", 45, 37, false);
    ASSERT_TRUE(decode_testing::Run("convert '" + (folder_ / "tall.pam") + "' -quality 95 '" + (folder_ / "tall.jpg") + "'"));
    const Bytes tall = decode_testing::ReadBytes(folder_ / "tall.jpg");
    for (int orientation = 2; orientation <= 8; ++orientation) {
        ExpectUprightAsImageMagick(WithSegment(tall, ExifSegment(orientation, false)), orientation >= 5 ? 37 : 45,
                                   orientation);
    }
}

TEST_F(JpegFiles, BrokenExifLeavesThePictureAsStored) {
    const auto plain = DecodeJpeg(base_);
    ASSERT_TRUE(plain.has_value());
    for (const Bytes& segment : {ExifSegment(6, false, 0xFFFFFFF0u), ExifSegment(9, false), ExifSegment(0, true),
                                 Bytes{0xFF, 0xE1, 0, 8, 'E', 'x', 'i', 'f', 0, 0}}) {
        const auto image = DecodeJpeg(WithSegment(base_, segment));
        ASSERT_TRUE(image.has_value());
        EXPECT_EQ(image->pixels, plain->pixels);
    }
}

TEST_F(JpegFiles, TruncatedCorruptAndOversizedFilesFail) {
    ASSERT_TRUE(DecodeJpeg(base_).has_value());
    // Data ending early would otherwise come out padded with grey.
    for (std::size_t keep : {base_.size() / 2, base_.size() * 3 / 4, base_.size() - 40}) {
        EXPECT_FALSE(DecodeJpeg(Bytes(base_.begin(), base_.begin() + static_cast<std::ptrdiff_t>(keep))).has_value()) << keep;
    }
    // A busy picture, so that the last bytes of the scan hold real data.
    decode_testing::WritePatternPam(folder_ / "busy.pam", 64, 48, false);
    ASSERT_TRUE(decode_testing::Run("convert '" + (folder_ / "busy.pam") + "' '" + (folder_ / "busy.jpg") + "'"));
    const Bytes busy = decode_testing::ReadBytes(folder_ / "busy.jpg");
    ASSERT_TRUE(DecodeJpeg(busy).has_value());
    Bytes cutAndClosed(busy.begin(), busy.end() - 40);
    cutAndClosed.insert(cutAndClosed.end(), {0xFF, 0xD9});
    EXPECT_FALSE(DecodeJpeg(cutAndClosed).has_value()) << "cut, with an end marker appended";
    EXPECT_FALSE(DecodeJpeg(Bytes{0xFF, 0xD8}).has_value());
    EXPECT_FALSE(DecodeJpeg(Bytes{0xFF, 0xD8, 0xFF, 0xD9}).has_value());
    Bytes garbage = {0xFF, 0xD8};
    for (int i = 0; i < 500; ++i) garbage.push_back(static_cast<std::uint8_t>(i * 37));
    EXPECT_FALSE(DecodeJpeg(garbage).has_value());

    // Start-of-frame sizes rewritten: 40000 wide, then zero high.
    for (std::size_t i = 2; i + 8 < base_.size(); ++i) {
        if (base_[i] != 0xFF || base_[i + 1] != 0xC0) continue;
        Bytes wide = base_;
        wide[i + 7] = 0x9C;
        wide[i + 8] = 0x40;
        EXPECT_FALSE(DecodeJpeg(wide).has_value());
        Bytes flat = base_;
        flat[i + 5] = 0;
        flat[i + 6] = 0;
        EXPECT_FALSE(DecodeJpeg(flat).has_value());
        const DecodeLimits small{render::kMaxImageSide, 32 * 16 - 1};
        EXPECT_FALSE(DecodeJpeg(base_, small).has_value());
        return;
    }
    FAIL() << "no baseline frame header found";
}

// A four-component JPEG stored as plain CMYK (Adobe transform 0), which ImageMagick does
// not write: libjpeg writes it here from ink values.
Bytes CmykJpeg(int width, int height) {
    Bytes inks;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            inks.push_back(static_cast<std::uint8_t>(x * 255 / (width - 1)));
            inks.push_back(static_cast<std::uint8_t>(y * 255 / (height - 1)));
            inks.push_back(static_cast<std::uint8_t>(128 + (x - y) / 2));
            inks.push_back(static_cast<std::uint8_t>(255 - (x + y)));
        }
    }
    return decode_testing::LibjpegEncode(inks, width, height, 4, JCS_CMYK, 95);
}

TEST_F(JpegFiles, PlainCmykAgreesWithImageMagick) {
    const Bytes cmyk = CmykJpeg(40, 24);
    const std::size_t adobe = std::string(cmyk.begin(), cmyk.end()).find("Adobe");
    ASSERT_NE(adobe, std::string::npos);
    ASSERT_EQ(cmyk[adobe + 11], 0) << "the file should hold CMYK, not YCCK";
    decode_testing::WriteBytes(folder_ / "cmyk.jpg", cmyk);
    const auto ours = DecodeJpeg(cmyk);
    const auto reference = decode_testing::ConvertReference(folder_ / "cmyk.jpg");
    ASSERT_TRUE(ours && reference);
    EXPECT_LE(decode_testing::MaxChannelDifference(decode_testing::ToRgb(*ours), *reference), 2);
}

}  // namespace
}  // namespace velinor::imageio
