#include "render/Blend.h"

#include <gtest/gtest.h>

#include "render/DrawTarget.h"

namespace velinor::render {
namespace {

std::uint32_t Reference(std::uint32_t s, std::uint32_t d, std::uint32_t a) {
    // round-half-up of an exact rational; x/255 never lands on a half.
    const std::uint32_t x = s * a + d * (255 - a);
    return (2 * x + 255) / 510;
}

TEST(BlendFormula, EveryChannelValueAndOpacityRoundsToNearest) {
    // One row holds every (s, d) pair, each channel a different pair, so a carry between
    // channels shows up; the row operation (the vectorised path) and the single-pixel one
    // must both give the exact rounded value for every opacity.
    Pixels source(65536), target(65536);
    for (std::uint32_t s = 0; s < 256; ++s) {
        for (std::uint32_t d = 0; d < 256; ++d) {
            source[s * 256 + d] = MakeColor(s, 255 - s, (s * 7) & 0xFF);
            target[s * 256 + d] = MakeColor(d, (d * 13) & 0xFF, 255 - d);
        }
    }
    Pixels row;
    for (std::uint32_t a = 0; a < 256; ++a) {
        row = target;
        BlendRow(source.data(), row.data(), row.size(), a);
        for (std::size_t i = 0; i < row.size(); ++i) {
            const Color s = source[i], d = target[i];
            const Color expected = MakeColor(Reference(RedOf(s), RedOf(d), a), Reference(GreenOf(s), GreenOf(d), a),
                                             Reference(BlueOf(s), BlueOf(d), a));
            if (row[i] != expected || BlendPixel(s, d, a) != expected) {
                FAIL() << std::hex << "s=" << s << " d=" << d << " a=" << a << " row " << row[i] << " pixel "
                       << BlendPixel(s, d, a) << " want " << expected;
            }
        }
    }
}

TEST(BlendFormula, RowOperationsTreatEveryPixelAlike) {
    Pixels source(37), target(37);
    for (std::size_t i = 0; i < source.size(); ++i) {
        source[i] = static_cast<Color>(i * 0x070B0D);
        target[i] = static_cast<Color>(0xFFFFFF - i * 0x030507);
    }
    Pixels blended = target;
    BlendRow(source.data(), blended.data(), blended.size(), 77);
    Pixels keyed = target;
    KeyRow(source.data(), keyed.data(), keyed.size(), source[5]);
    for (std::size_t i = 0; i < source.size(); ++i) {
        EXPECT_EQ(blended[i], BlendPixel(source[i], target[i], 77));
        EXPECT_EQ(keyed[i], i == 5 ? target[i] : source[i]);
    }
}

// A target of solid colour and an image with a gradient, drawn through the DrawTarget.
class Composition : public ::testing::Test {
protected:
    void SetUp() override {
        target_ = images_.NewImage(1, 8, 6);
        FillAll(*target_, MakeColor(10, 200, 30));
        source_ = images_.NewImage(2, 4, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) source_->At(x, y) = MakeColor(40 * x, 60 * y, 250 - 20 * x);
        }
    }
    static void FillAll(RasterImage& image, Color c) { std::fill(image.pixels.begin(), image.pixels.end(), c); }

    ImageRegistry images_;
    FontTable fonts_;
    DrawTarget draw_{images_, fonts_};
    RasterImage* target_ = nullptr;
    RasterImage* source_ = nullptr;
};

TEST_F(Composition, OpacityUsesOnlyTheLowByte) {
    const Pixels original = target_->pixels;
    draw_.BeginDraw(1);
    draw_.BlendImage(2, 1, 1, 0);
    EXPECT_EQ(target_->pixels, original);
    draw_.BlendImage(2, 1, 1, 256);
    EXPECT_EQ(target_->pixels, original);
    draw_.BlendImage(2, 1, 1, 255);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= 1 && x < 5 && y >= 1 && y < 4;
            EXPECT_EQ(target_->At(x, y), inside ? source_->At(x - 1, y - 1) : original[y * 8 + x]) << x << "," << y;
        }
    }
}

TEST_F(Composition, HalfOpacityAveragesEachChannel) {
    draw_.BeginDraw(1);
    draw_.BlendImage(2, 0, 0, 128 + 512);
    // round((s*128 + d*127) / 255) per channel.
    EXPECT_EQ(target_->At(0, 0), MakeColor(5, 100, 140));  // s = (0, 0, 250), d = (10, 200, 30)
    EXPECT_EQ(target_->At(3, 2), MakeColor(65, 160, 110)); // s = (120, 120, 190)
    EXPECT_EQ(target_->At(4, 0), MakeColor(10, 200, 30));
}

TEST_F(Composition, PlacementsPartlyOutsideChangeOnlyTheOverlap) {
    const Pixels original = target_->pixels;
    draw_.BeginDraw(1);
    draw_.BlendImage(2, -2, 4, 255);  // columns 2..3 of rows 0..1 land on (0..1, 4..5)
    draw_.PasteImage(source_, 6, -2); // columns 0..1 of row 2 land on (6..7, 0)
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            Color want = original[y * 8 + x];
            if (x < 2 && y >= 4) want = source_->At(x + 2, y - 4);
            if (x >= 6 && y == 0) want = source_->At(x - 6, 2);
            EXPECT_EQ(target_->At(x, y), want) << x << "," << y;
        }
    }
    // Entirely outside, including far enough away to overflow a naive x + width.
    const Pixels before = target_->pixels;
    draw_.BlendImage(2, 8, 0, 255);
    draw_.PasteImage(source_, 0x7FFFFFFE, 0x7FFFFFFE);
    draw_.BlendImage(2, -0x7FFFFFFF, 0, 255);
    EXPECT_EQ(target_->pixels, before);
}

TEST_F(Composition, BlendMakesTheSourceCurrent) {
    draw_.BeginDraw(1);
    images_.SelectImage(1);
    draw_.BlendImage(2, 0, 0, 100);
    EXPECT_EQ(images_.CurrentNumber(), 2);
    EXPECT_EQ(images_.ImageWidth(), 4);
    draw_.MaskedDrawImage(0, 1, 0, 0, kBlack);  // selects the number even without a context
    EXPECT_EQ(images_.CurrentNumber(), 1);
}

TEST_F(Composition, KeyingLeavesOutExactlyTheKeyColour) {
    const DrawContext context = draw_.BeginDraw(1);
    ASSERT_NE(context, 0u);
    const Pixels original = target_->pixels;

    // A key that does not occur: a plain paste.
    draw_.MaskedDrawImage(context, 2, 2, 2, MakeColor(1, 2, 3));
    RasterImage pasted = *images_.Find(1);
    target_->pixels = original;
    draw_.PasteImage(source_, 2, 2);
    EXPECT_EQ(pasted.pixels, target_->pixels);

    // A key one step away from a pixel still copies that pixel; the keyed one is left out.
    target_->pixels = original;
    const Color key = source_->At(1, 1);
    source_->At(2, 1) = key + 1;
    draw_.MaskedDrawImage(context, 2, 0, 0, key);
    EXPECT_EQ(target_->At(1, 1), original[1 * 8 + 1]);
    EXPECT_EQ(target_->At(2, 1), key + 1);
    EXPECT_EQ(target_->At(0, 0), source_->At(0, 0));

    // An image of nothing but the key changes nothing.
    target_->pixels = original;
    FillAll(*source_, kBlack);
    draw_.MaskedDrawImage(context, 2, 1, 1, kBlack);
    EXPECT_EQ(target_->pixels, original);
}

TEST_F(Composition, KeyingNeedsTheLiveContext) {
    const DrawContext first = draw_.BeginDraw(1);
    draw_.EndDraw();
    const Pixels original = target_->pixels;
    draw_.MaskedDrawImage(first, 2, 0, 0, MakeColor(1, 2, 3));
    EXPECT_EQ(target_->pixels, original);
    const DrawContext second = draw_.BeginDraw(1);
    EXPECT_NE(second, first);
    draw_.MaskedDrawImage(first, 2, 0, 0, MakeColor(1, 2, 3));
    EXPECT_EQ(target_->pixels, original);
    draw_.MaskedDrawImage(second, 2, 0, 0, MakeColor(1, 2, 3));
    EXPECT_EQ(target_->At(0, 0), source_->At(0, 0));
}

TEST_F(Composition, IconsShowOnlyTheirOpaquePixels) {
    RasterImage icon;
    icon.width = 2;
    icon.height = 1;
    icon.pixels = {MakeColor(1, 1, 1), MakeColor(2, 2, 2)};
    icon.mask = {0, 1};
    ASSERT_NE(images_.StoreImage(3, icon), nullptr);
    const Color background = target_->At(0, 0);
    const DrawContext context = draw_.BeginDraw(1);
    draw_.PasteImage(images_.Find(3), 0, 0);
    draw_.MaskedDrawImage(context, 3, 0, 1, MakeColor(9, 9, 9));
    draw_.BlendImage(3, 0, 2, 255);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(target_->At(0, y), background);
        EXPECT_EQ(target_->At(1, y), MakeColor(2, 2, 2));
    }
}

TEST_F(Composition, DrawingAnImageOntoItselfUsesItsOriginalPixels) {
    // Rows move down, so each must come from the picture as it was before the call.
    draw_.BeginDraw(2);
    RasterImage before = *source_;
    draw_.PasteImage(source_, 1, 1);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const Color want = x >= 1 && y >= 1 ? before.At(x - 1, y - 1) : before.At(x, y);
            EXPECT_EQ(source_->At(x, y), want) << x << "," << y;
        }
    }
    before = *source_;
    draw_.BlendImage(2, 0, 1, 255);
    for (int y = 1; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(source_->At(x, y), before.At(x, y - 1)) << x << "," << y;
    }
}

}  // namespace
}  // namespace velinor::render
