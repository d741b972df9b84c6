#include "render/Scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>

namespace velinor::render {
namespace {

// How much of source pixel k (along one axis of src pixels) destination pixel d (of dst)
// covers, in units of 1/dst of a source pixel: the overlap of [d*src, (d+1)*src) and
// [k*dst, (k+1)*dst).
long long Overlap(int src, int dst, int d, int k) {
    const long long lo = std::max<long long>(1LL * d * src, 1LL * k * dst);
    const long long hi = std::min<long long>(1LL * (d + 1) * src, 1LL * (k + 1) * dst);
    return std::max<long long>(0, hi - lo);
}

// The exact area average of one channel for destination pixel (dx, dy), as numerator over
// denominator (the denominator is the pixel's area, src width * src height in these units).
struct Exact {
    long long numerator = 0;
    long long denominator = 0;
};

Exact AreaAverage(const RasterImage& source, int width, int height, int dx, int dy, int shift) {
    Exact e;
    e.denominator = 1LL * source.width * source.height;
    const int firstRow = static_cast<int>(1LL * dy * source.height / height);
    const int lastRow = static_cast<int>((1LL * (dy + 1) * source.height - 1) / height);
    const int firstColumn = static_cast<int>(1LL * dx * source.width / width);
    const int lastColumn = static_cast<int>((1LL * (dx + 1) * source.width - 1) / width);
    for (int sy = firstRow; sy <= lastRow; ++sy) {
        const long long oy = Overlap(source.height, height, dy, sy);
        for (int sx = firstColumn; sx <= lastColumn; ++sx) {
            const long long ox = Overlap(source.width, width, dx, sx);
            if (ox != 0) e.numerator += ox * oy * ((source.At(sx, sy) >> shift) & 0xFF);
        }
    }
    return e;
}

RasterImage RandomImage(std::mt19937& random, int width, int height) {
    RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * height);
    for (Color& c : image.pixels) c = random() & 0xFFFFFFu;
    return image;
}

// Each pixel is the area average of what it covers, rounded: within half a step of the exact
// value, plus 1/512 for the one intermediate rounding to 1/256 of a step. Source sides are
// powers of two so that every coverage share is exact in the scaler's fixed point; anything
// beyond that tolerance is a rounding fault. Source heights are large enough (512 and more)
// that the shares of rows are not multiples of the intermediate step, so a pass that
// truncates where it should round lands hundreds of values just outside.
TEST(ScaleHalftone, EveryPixelIsTheRoundedAreaAverageShrinkingAndEnlarging) {
    std::mt19937 random(20261208);
    const int widths[] = {4, 8, 16, 32};
    const int heights[] = {512, 1024, 2048};
    int checked = 0;
    for (int round = 0; round < 12; ++round) {
        const int sw = widths[random() % 4], sh = heights[random() % 3];
        const RasterImage source = RandomImage(random, sw, sh);
        // Half of the rounds shrink, half enlarge, each side on its own.
        const bool enlarge = round % 2 == 1;
        const int w = enlarge ? sw + 1 + static_cast<int>(random() % 90) : 1 + static_cast<int>(random() % (sw - 1));
        const int h = enlarge ? sh + 1 + static_cast<int>(random() % 90) : 1 + static_cast<int>(random() % (sh - 1));
        const RasterImage out = ScaleHalftone(source, w, h);
        ASSERT_EQ(out.width, w);
        ASSERT_EQ(out.height, h);
        // The same picture arriving in bands of rows, as a decoder delivers them.
        HalftoneRows bands(sw, sh, w, h);
        for (int y = 0; y < sh; y += 7) bands.Add(&source.pixels[static_cast<std::size_t>(y) * sw], std::min(7, sh - y));
        ASSERT_TRUE(bands.Complete());
        EXPECT_EQ(bands.Finish().pixels, out.pixels);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                for (int shift : {0, 8, 16}) {
                    const Exact e = AreaAverage(source, w, h, x, y, shift);
                    const long long got = (out.At(x, y) >> shift) & 0xFF;
                    // |got - n/d| <= 1/2 + 1/512, in integers.
                    ASSERT_LE(std::llabs(512 * (got * e.denominator - e.numerator)), 257 * e.denominator)
                        << sw << "x" << sh << " -> " << w << "x" << h << " at " << x << "," << y << " channel " << shift / 8
                        << ": " << got << " for " << static_cast<double>(e.numerator) / e.denominator;
                    ++checked;
                }
            }
        }
        EXPECT_EQ(out.At(0, 0) >> 24, 0u);
    }
    EXPECT_GT(checked, 50000);
}

// Thousands of source rows into one destination row: the sums of a white picture reach the
// most any sum can hold, so a sum that overflows shows as a colour other than white.
TEST(ScaleHalftone, TallReductionsOfWhiteStayWhite) {
    RasterImage white;
    white.width = 3;
    white.height = 5000;
    white.pixels.assign(static_cast<std::size_t>(white.width) * white.height, 0xFFFFFFu);
    for (int h : {1, 2, 3, 19}) {
        const RasterImage out = ScaleHalftone(white, 2, h);
        for (Color c : out.pixels) ASSERT_EQ(c, 0xFFFFFFu) << "5000 rows into " << h;
    }
}

// An icon's mask follows the nearest source pixel: a mask with one opaque column and one
// opaque row keeps them where they were, in proportion, on both axes.
TEST(ScaleHalftone, AnIconMaskTakesTheNearestSourcePixel) {
    RasterImage icon;
    icon.width = 4;
    icon.height = 2;
    icon.pixels.assign(8, kWhite);
    icon.mask = {0, 0, 0, 1,
                 1, 1, 1, 1};
    const RasterImage out = ScaleHalftone(icon, 8, 6);
    ASSERT_EQ(out.mask.size(), 48u);
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool opaque = y >= 3 || x >= 6;
            EXPECT_EQ(out.mask[static_cast<std::size_t>(y) * 8 + x] != 0, opaque) << x << "," << y;
        }
    }
}

}  // namespace
}  // namespace velinor::render
