// Icon files: which image is chosen, how the mask is formed, and broken directories.
#include <gtest/gtest.h>

#include "DecodeTestSupport.h"
#include "imageio/IcoDecoder.h"
#include "imageio/Loader.h"

namespace velinor::imageio {
namespace {

using decode_testing::BmpFields;
using decode_testing::Bytes;

struct Entry {
    Bytes data;
    int bits = 0;
    bool pointOutside = false;
};

Bytes Ico(const std::vector<Entry>& entries) {
    Bytes out;
    decode_testing::Put16(out, 0);
    decode_testing::Put16(out, 1);
    decode_testing::Put16(out, static_cast<unsigned>(entries.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
    for (const Entry& e : entries) {
        // Directory sizes left at 0 and colour counts empty, as many files have them.
        out.insert(out.end(), {0, 0, 0, 0});
        decode_testing::Put16(out, 1);
        decode_testing::Put16(out, static_cast<unsigned>(e.bits));
        decode_testing::Put32(out, static_cast<std::uint32_t>(e.data.size()));
        decode_testing::Put32(out, e.pointOutside ? 0x7FFFFFF0u : offset);
        offset += static_cast<std::uint32_t>(e.data.size());
    }
    for (const Entry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
    return out;
}

// A side x side icon bitmap of one colour (0x00RRGGBB) whose mask leaves the left column
// transparent; depth 4 or 24.
Entry IconBitmap(int side, int bits, std::uint32_t rgb) {
    BmpFields fields;
    fields.width = side;
    fields.height = 2 * side;
    fields.bits = bits;
    Bytes row;
    if (bits == 4) {
        fields.palette = {0, rgb};
        fields.coloursUsed = 2;
        row.assign(static_cast<std::size_t>((side + 1) / 2), 0x11);
    } else {
        for (int x = 0; x < side; ++x) row.insert(row.end(), {std::uint8_t(rgb), std::uint8_t(rgb >> 8), std::uint8_t(rgb >> 16)});
    }
    fields.rows.assign(static_cast<std::size_t>(side), row);
    Bytes maskRow(static_cast<std::size_t>((side + 7) / 8), 0);
    maskRow[0] = 0x80;
    for (int y = 0; y < side; ++y) fields.rows.push_back(maskRow);
    return Entry{decode_testing::BuildDib(fields), bits};
}

render::Color ToColor(std::uint32_t rgb) {
    return render::MakeColor(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF), static_cast<int>(rgb & 0xFF));
}

TEST(IcoChoice, LargestThenDeepestImageWinsAndBrokenEntriesAreSkipped) {
    const Bytes file = Ico({IconBitmap(8, 4, 0x112233), IconBitmap(12, 4, 0x445566),
                            IconBitmap(12, 24, 0x778899), Entry{Bytes(40, 0), 24, true}});
    const auto best = DecodeIco(file, IconChoice::Best);
    ASSERT_TRUE(best.has_value());
    EXPECT_EQ(best->width, 12);
    EXPECT_EQ(best->height, 12);
    EXPECT_EQ(best->At(5, 5), ToColor(0x778899));

    const auto first = DecodeIco(file, IconChoice::First);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->width, 8);
    EXPECT_EQ(first->At(5, 5), ToColor(0x112233));

    // The same choices through the loader: a file takes the best, memory the first image.
    decode_testing::TempFolder folder;
    decode_testing::WriteBytes(folder / "any.name", file);
    const auto loaded = DecodePictureFile(folder / "any.name").image;
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->width, 12);
    const auto fromMemory = DecodePictureMemory(file);
    ASSERT_TRUE(fromMemory.has_value());
    EXPECT_EQ(fromMemory->width, 8);
}

TEST(IcoMask, MaskMarksOpaquePixelsAndTransparentOnesAreBlack) {
    const auto icon = DecodeIco(Ico({IconBitmap(9, 24, 0xFFFFFF)}), IconChoice::Best);
    ASSERT_TRUE(icon.has_value());
    ASSERT_TRUE(icon->IsIcon());
    for (int y = 0; y < 9; ++y) {
        EXPECT_EQ(icon->mask[static_cast<std::size_t>(y) * 9], 0) << y;
        EXPECT_EQ(icon->At(0, y), render::kBlack);
        EXPECT_EQ(icon->mask[static_cast<std::size_t>(y) * 9 + 8], 1) << y;
        EXPECT_EQ(icon->At(8, y), render::kWhite);
    }
}

TEST(IcoBroken, DirectoriesThatLieFailCleanly) {
    const Bytes good = Ico({IconBitmap(8, 24, 0x123456)});
    Bytes noMask = good;
    noMask.resize(noMask.size() - 8 * 4);  // the mask rows are gone
    std::vector<std::pair<std::string, Bytes>> bad = {
        {"directory cut off", Bytes(good.begin(), good.begin() + 12)},
        {"only broken entries", Ico({Entry{Bytes(40, 0), 24, true}, Entry{Bytes(3, 1), 24, false}})},
        {"mask missing", noMask},
        {"header says zero images", Bytes{0, 0, 1, 0, 0, 0}},
    };
    // An entry whose data claims a picture far larger than it holds.
    Entry lying = IconBitmap(8, 24, 0x123456);
    lying.data[4] = 0xFF;
    lying.data[5] = 0x7F;
    bad.emplace_back("lying width", Ico({lying}));
    for (const auto& [what, bytes] : bad) {
        EXPECT_FALSE(DecodeIco(bytes, IconChoice::Best).has_value()) << what;
        EXPECT_FALSE(DecodeIco(bytes, IconChoice::First).has_value()) << what;
    }
}

// Icons written by ImageMagick: bitmap images with alpha and a PNG image for 256 x 256.
TEST(IcoCrossCheck, AgreesWithImageMagickOnBitmapAndPngImages) {
    if (!decode_testing::HaveTool("convert")) GTEST_SKIP() << "ImageMagick convert is not installed";
    decode_testing::TempFolder folder;
    decode_testing::WritePatternPam(folder / "source.pam", 64, 64, true);
    for (const auto& [sizes, index, side] : {std::tuple{"16,48,32", 1, 48}, std::tuple{"16,256,32", 1, 256}}) {
        const std::string file = folder / "x.ico";
        ASSERT_TRUE(decode_testing::Run("convert '" + (folder / "source.pam") + "' -define icon:auto-resize=" + sizes +
                                 " '" + file + "'"));
        const auto ours = DecodePictureFile(file).image;
        ASSERT_TRUE(ours.has_value());
        ASSERT_TRUE(ours->IsIcon());
        EXPECT_EQ(ours->width, side);
        const std::string frame = file + "[" + std::to_string(index) + "]";
        const auto colours = decode_testing::ConvertReference(frame);
        const auto alpha = decode_testing::ConvertAlpha(frame);
        ASSERT_TRUE(colours && alpha);
        ASSERT_EQ(alpha->size(), ours->pixels.size());
        const auto rgb = decode_testing::ToRgb(*ours);
        int mismatches = 0;
        for (std::size_t i = 0; i < ours->pixels.size(); ++i) {
            const bool opaque = (*alpha)[i] >= 128;
            mismatches += ours->mask[i] != (opaque ? 1 : 0);
            for (int c = 0; c < 3; ++c) {
                mismatches += rgb.rgb[i * 3 + c] != (opaque ? colours->rgb[i * 3 + c] : 0);
            }
        }
        EXPECT_EQ(mismatches, 0) << sizes;
    }
}

}  // namespace
}  // namespace velinor::imageio
