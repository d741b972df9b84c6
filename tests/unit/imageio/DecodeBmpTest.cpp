// Bitmap variants ImageMagick does not write, crafted byte by byte and checked against
// ImageMagick's reading of them; and bitmaps whose fields lie.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <random>

#include "DecodeTestSupport.h"
#include "imageio/BmpDecoder.h"

namespace velinor::imageio {
namespace {

using decode_testing::BmpFields;
using decode_testing::Bytes;

constexpr int kWidth = 7;
constexpr int kHeight = 3;

Bytes Row16(std::initializer_list<unsigned> values) {
    Bytes row;
    for (unsigned v : values) decode_testing::Put16(row, v);
    return row;
}

Bytes RandomRow(std::size_t bytes, unsigned seed) {
    std::mt19937 random(seed);
    Bytes row(bytes);
    for (auto& b : row) b = static_cast<std::uint8_t>(random());
    return row;
}

std::vector<std::uint32_t> Palette(std::size_t count) {
    std::vector<std::uint32_t> palette;
    for (std::size_t i = 0; i < count; ++i) {
        palette.push_back(static_cast<std::uint32_t>((i * 0x3B) & 0xFF) << 16 |
                          static_cast<std::uint32_t>((i * 0x71 + 9) & 0xFF) << 8 | ((i * 0x17 + 200) & 0xFF));
    }
    return palette;
}

// Sixteen-bit rows with the extremes of every channel and a few values in between.
std::vector<Bytes> Rows16() {
    return {Row16({0x7FFF, 0x001F, 0x03E0, 0x7C00, 0x4210, 0x0000, 0x1234}),
            Row16({0xFFFF, 0xF800, 0x07E0, 0x001F, 0x8410, 0x0421, 0xABCD}),
            Row16({0x0F0F, 0xF0F0, 0x5555, 0xAAAA, 0x0001, 0x8000, 0x3C3C})};
}

struct CraftedCase {
    std::string name;
    std::function<BmpFields()> make;
};

void PrintTo(const CraftedCase& c, std::ostream* out) { *out << c.name; }

std::vector<CraftedCase> CraftedCases() {
    return {
        {"Rgb555", [] { return BmpFields{40, kWidth, kHeight, 16, 0, {}, {}, 0, Rows16(), {}}; }},
        {"Bitfields565", [] {
             return BmpFields{40, kWidth, kHeight, 16, 3, {0xF800, 0x07E0, 0x001F}, {}, 0, Rows16(), {}};
         }},
        {"Bitfields565InV4Header", [] {
             return BmpFields{108, kWidth, kHeight, 16, 3, {0xF800, 0x07E0, 0x001F, 0}, {}, 0, Rows16(), {}};
         }},
        {"Bitfields1555InV5Header", [] {
             return BmpFields{124, kWidth, kHeight, 16, 3, {0x7C00, 0x03E0, 0x001F, 0x8000}, {}, 0, Rows16(), {}};
         }},
        {"Bitfields32RedLow", [] {
             return BmpFields{40, kWidth, kHeight, 32, 3, {0x0000FF, 0x00FF00, 0xFF0000}, {}, 0,
                            {RandomRow(28, 1), RandomRow(28, 2), RandomRow(28, 3)}, {}};
         }},
        {"TopDown24", [] {
             return BmpFields{40, kWidth, -kHeight, 24, 0, {}, {}, 0,
                            {RandomRow(21, 4), RandomRow(21, 5), RandomRow(21, 6)}, {}};
         }},
        {"TopDown8", [] {
             return BmpFields{40, kWidth, -kHeight, 8, 0, {}, Palette(256), 0,
                            {RandomRow(7, 7), RandomRow(7, 8), RandomRow(7, 9)}, {}};
         }},
        {"ShortPalette", [] {
             return BmpFields{40, kWidth, kHeight, 8, 0, {}, Palette(3), 3,
                            {{0, 1, 2, 2, 1, 0, 1}, {2, 2, 2, 0, 0, 0, 1}, {1, 0, 2, 1, 0, 2, 0}}, {}};
         }},
        {"Os2Core1Bit", [] {
             return BmpFields{12, kWidth, kHeight, 1, 0, {}, Palette(2), 0, {{0xA5}, {0x3C}, {0xF0}}, {}};
         }},
        {"Rle4", [] {
             // Row 0: a run of alternating 1 and 2. Row 1: a literal run of five, then a run
             // of two. Row 2: a jump of three pixels, one pixel, then the end of the bitmap.
             return BmpFields{40, kWidth, kHeight, 4, 2, {}, Palette(16), 0, {},
                            {7, 0x12, 0, 0, 0, 5, 0x34, 0x56, 0x70, 0, 2, 0x88, 0, 0, 0, 2, 3, 0, 1, 0xF0, 0, 1}};
         }},
        {"Rle8WithJumpAndOddLiteral", [] {
             return BmpFields{40, kWidth, kHeight, 8, 1, {}, Palette(256), 0, {},
                            {3, 200, 0, 3, 10, 20, 30, 0, 0, 0, 0, 2, 2, 1, 1, 77, 0, 1}};
         }},
    };
}

class CraftedBmp : public ::testing::TestWithParam<CraftedCase> {};

TEST_P(CraftedBmp, DecodesAsImageMagickDoes) {
    ASSERT_TRUE(decode_testing::ToolInstalled("convert"));
    const Bytes file = decode_testing::BuildBmp(GetParam().make());
    decode_testing::TempFolder folder;
    decode_testing::WriteBytes(folder / "x.bmp", file);
    const auto ours = DecodeBmp(file);
    ASSERT_TRUE(ours.has_value());
    const auto reference = decode_testing::ConvertReference(folder / "x.bmp");
    ASSERT_TRUE(reference.has_value());
    EXPECT_EQ(decode_testing::MaxChannelDifference(decode_testing::ToRgb(*ours), *reference), 0);
}

INSTANTIATE_TEST_SUITE_P(Variants, CraftedBmp, ::testing::ValuesIn(CraftedCases()),
                         [](const auto& info) { return info.param.name; });

TEST(BmpChannels, NarrowChannelsReachFullBrightness) {
    // Four-bit channels repeat their bits (0xF -> 0xFF, 0x8 -> 0x88), so white stays white;
    // ImageMagick's own reading shifts them only and is no reference here.
    const auto fourBits = DecodeBmp(decode_testing::BuildBmp(
        BmpFields{40, 2, 1, 16, 3, {0x0F00, 0x00F0, 0x000F}, {}, 0, {Row16({0x0F80, 0x0084})}, {}}));
    ASSERT_TRUE(fourBits.has_value());
    EXPECT_EQ(fourBits->pixels[0], render::MakeColor(255, 0x88, 0));
    EXPECT_EQ(fourBits->pixels[1], render::MakeColor(0, 0x88, 0x44));
}

TEST(BmpLimits, SidesAndPixelCountAreBounded) {
    auto wide = [](int width) {
        return decode_testing::BuildBmp(BmpFields{40, width, 1, 24, 0, {}, {}, 0, {Bytes(static_cast<std::size_t>(width) * 3, 9)}, {}});
    };
    EXPECT_TRUE(DecodeBmp(wide(32767)).has_value());
    EXPECT_FALSE(DecodeBmp(wide(32768)).has_value());

    const Bytes tenByTen = decode_testing::BuildBmp(BmpFields{40, 10, 10, 8, 0, {}, Palette(256), 0, std::vector<Bytes>(10, Bytes(10, 1)), {}});
    const Bytes tenByEleven = decode_testing::BuildBmp(BmpFields{40, 10, 11, 8, 0, {}, Palette(256), 0, std::vector<Bytes>(11, Bytes(10, 1)), {}});
    const DecodeLimits hundred{render::kMaxImageSide, 100};
    EXPECT_TRUE(DecodeBmp(tenByTen, hundred).has_value());
    EXPECT_FALSE(DecodeBmp(tenByEleven, hundred).has_value());
}

// Files whose fields promise what the data does not hold, or that no bitmap can be.
TEST(BmpMalformed, LyingFieldsFailCleanly) {
    const BmpFields good{40, kWidth, kHeight, 24, 0, {}, {}, 0,
                       {RandomRow(21, 1), RandomRow(21, 2), RandomRow(21, 3)}, {}};
    ASSERT_TRUE(DecodeBmp(decode_testing::BuildBmp(good)).has_value());

    std::vector<std::pair<std::string, Bytes>> bad;
    Bytes cut = decode_testing::BuildBmp(good);
    cut.resize(cut.size() - 1);
    bad.emplace_back("last row short", cut);
    Bytes farOffset = decode_testing::BuildBmp(good);
    farOffset[10] = 0xFF;
    farOffset[11] = 0xFF;
    bad.emplace_back("pixel offset beyond the file", farOffset);
    Bytes offsetInHeader = decode_testing::BuildBmp(good);
    offsetInHeader[10] = 20;
    bad.emplace_back("pixel offset inside the header", offsetInHeader);
    auto with = [&](std::function<void(BmpFields&)> change) {
        BmpFields fields = good;
        change(fields);
        return decode_testing::BuildBmp(fields);
    };
    bad.emplace_back("zero width", with([](BmpFields& s) { s.width = 0; }));
    bad.emplace_back("negative width", with([](BmpFields& s) { s.width = -7; }));
    bad.emplace_back("zero height", with([](BmpFields& s) { s.height = 0; }));
    bad.emplace_back("most negative height", with([](BmpFields& s) { s.height = std::numeric_limits<std::int32_t>::min(); }));
    bad.emplace_back("huge height", with([](BmpFields& s) { s.height = 100000; }));
    bad.emplace_back("RLE8 on 24 bits", with([](BmpFields& s) { s.compression = 1; }));
    bad.emplace_back("unknown compression", with([](BmpFields& s) { s.compression = 9; }));
    bad.emplace_back("broken mask", with([](BmpFields& s) { s.bits = 16; s.compression = 3; s.masks = {0xF0F0, 0x0F00, 0x000F}; }));
    bad.emplace_back("masks missing", with([](BmpFields& s) { s.bits = 32; s.compression = 3; s.rows.clear(); }));
    bad.emplace_back("two bits", with([](BmpFields& s) { s.bits = 2; }));
    bad.emplace_back("header too large", with([](BmpFields& s) { s.headerSize = 200; }));
    bad.emplace_back("RLE ends early", decode_testing::BuildBmp(BmpFields{40, kWidth, kHeight, 8, 1, {}, Palette(256), 0, {}, {3, 1, 0, 0}}));
    bad.emplace_back("RLE literal past the end", decode_testing::BuildBmp(BmpFields{40, kWidth, kHeight, 8, 1, {}, Palette(256), 0, {}, {0, 200, 1, 2}}));
    bad.emplace_back("only the signature", Bytes{'B', 'M'});
    for (const auto& [what, bytes] : bad) EXPECT_FALSE(DecodeBmp(bytes).has_value()) << what;
}

}  // namespace
}  // namespace velinor::imageio
