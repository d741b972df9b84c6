#include <gtest/gtest.h>

#include "MarkTestSupport.h"
#include "marks/CircleFrame.h"
#include "marks/TextureFrame.h"
#include "render/Composite.h"

namespace velinor::marks {
namespace {

using namespace testing;

// Every pixel a different colour, so a pixel taken from the wrong place shows.
RasterImage Numbered(int width, int height, int salt) {
    RasterImage image = Filled(width, height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) image.At(x, y) = MakeColor((x * 7 + salt) % 256, (y * 13 + salt) % 256, (x + y) % 256);
    return image;
}

// round((a * s + (255 - a) * d) / 255) per channel, worked out channel by channel.
Color Mix(Color s, Color d, int a) {
    auto channel = [&](int shift) {
        const int v = static_cast<int>((s >> shift) & 0xFF) * a + static_cast<int>((d >> shift) & 0xFF) * (255 - a);
        return static_cast<Color>((v + 127) / 255) << shift;
    };
    return channel(0) | channel(8) | channel(16);
}

TEST(TextureFrame, BandsTileFromThePictureOrigin) {
    const RasterImage tile = Numbered(16, 16, 3);
    const RasterImage original = Numbered(100, 80, 101);
    RasterImage picture = original;
    DrawTextureFrame(picture, tile, 16, 255);
    EXPECT_EQ(picture.At(99, 79), tile.At(3, 15));
    EXPECT_EQ(picture.At(0, 0), tile.At(0, 0));
    EXPECT_EQ(picture.At(50, 5), tile.At(2, 5));      // top band
    EXPECT_EQ(picture.At(5, 40), tile.At(5, 8));      // left band
    EXPECT_EQ(picture.At(84, 63), tile.At(4, 15));    // first column of the right band, last row inside
    EXPECT_EQ(picture.At(83, 63), original.At(83, 63));
    EXPECT_EQ(picture.At(16, 16), original.At(16, 16));
    EXPECT_EQ(picture.At(50, 64), tile.At(2, 0));     // first row of the bottom band
}

TEST(TextureFrame, TransparencyMixesEveryBandPixelOnce) {
    const RasterImage tile = Numbered(16, 16, 3);
    const RasterImage original = Numbered(100, 80, 101);
    for (int t : {0, 128, 255}) {
        RasterImage picture = original;
        DrawTextureFrame(picture, tile, 16, 255 - t);
        for (auto [x, y] : {std::pair{0, 0}, {99, 79}, {3, 40}, {60, 2}, {90, 70}}) {
            // t = 128: texture x 127/255 + picture x 128/255, also in the corners where two bands meet.
            EXPECT_EQ(picture.At(x, y), Mix(tile.At(x % 16, y % 16), original.At(x, y), 255 - t)) << t << " " << x << "," << y;
        }
        EXPECT_EQ(picture.At(50, 40), original.At(50, 40));
    }
    RasterImage unchanged = original;
    DrawTextureFrame(unchanged, tile, 16, 0);
    EXPECT_EQ(unchanged.pixels, original.pixels);
}

TEST(TextureFrame, WideBordersAndLargeTilesAndEmptyTiles) {
    const RasterImage tile = Numbered(16, 16, 3);
    RasterImage picture = Numbered(100, 80, 101);
    DrawTextureFrame(picture, tile, 40, 255);  // 2 x 40 = h: no picture pixel is left
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_EQ(picture.At(x, y), tile.At(x % 16, y % 16)) << x << "," << y;

    const RasterImage large = Numbered(300, 300, 9);
    picture = Numbered(100, 80, 101);
    DrawTextureFrame(picture, large, 128, 255);
    EXPECT_EQ(picture.At(99, 79), large.At(99, 79));

    const RasterImage original = Numbered(100, 80, 101);
    picture = original;
    DrawTextureFrame(picture, RasterImage{}, 16, 255);
    EXPECT_EQ(picture.pixels, original.pixels);
}

CircleFrameParams Params(int border, int radius, int gap, int sides, bool filled, Color colour) {
    CircleFrameParams p;
    p.border = border;
    p.maxRadius = radius;
    p.gap = gap;
    p.sides = sides;
    p.filled = filled;
    p.colour = colour;
    return p;
}

TEST(CircleFrame, CirclesSitOnTheInnerEdgesInOrder) {
    render::RandomSource random;
    random.Seed(7);
    const auto circles = FrameCircles(100, 80, Params(16, 10, 3, 4, true, 0xFF), random);
    ASSERT_EQ(circles.size(), 52u + 42u);
    EXPECT_EQ(circles[0].x, 0);
    EXPECT_EQ(circles[0].y, 16);
    EXPECT_EQ(circles[1].y, 64);
    EXPECT_EQ(circles[51].x, 100);
    EXPECT_EQ(circles[52].x, 16);
    EXPECT_EQ(circles[53].x, 84);
    EXPECT_EQ(circles[93].y, 80);
    for (const Circle& c : circles) {
        EXPECT_GE(c.radius, 0);
        EXPECT_LE(c.radius, 10);
    }
    EXPECT_EQ(FrameCircles(100, 80, Params(16, 10, 3, 2, true, 0xFF), random).size(), 52u);
}

// The frame laid from edge strips must give exactly what a full-size layer keyed onto the
// picture and then blended with the unframed picture gives.
TEST(CircleFrame, StripsGiveTheFullLayersPixels) {
    render::RandomSource random;
    random.Seed(11);
    for (bool filled : {true, false}) {
        for (int t : {0, 100, 254}) {
            for (const auto& p : {Params(16, 10, 3, 4, filled, MakeColor(200, 10, 60)), Params(5, 40, 1, 4, filled, 0x123456),
                                  Params(20, 1, 2, 2, filled, 0xFFFFFF), Params(60, 30, 5, 4, filled, 0x808080)}) {
                const RasterImage original = Numbered(150, 110, 5);
                const auto circles = FrameCircles(150, 110, p, random);
                RasterImage layer = Filled(150, 110, 0);
                DrawCircleFrameLayer(layer, p, circles);
                RasterImage expected = original;
                render::KeyOnto(expected, layer, 0, 0, render::kBlack);
                render::BlendOnto(expected, original, 0, 0, t);

                RasterImage picture = original;
                DrawCircleFrame(picture, p, circles, t);
                ASSERT_EQ(picture.pixels, expected.pixels) << filled << " " << t << " " << p.border << " " << p.maxRadius;
            }
        }
    }
}

TEST(CircleFrame, WhatTheUserSees) {
    render::RandomSource random;
    const RasterImage original = Numbered(100, 80, 5);
    const Color colour = MakeColor(229, 229, 229);

    RasterImage picture = original;
    auto p = Params(16, 10, 3, 4, true, colour);
    DrawCircleFrame(picture, p, FrameCircles(100, 80, p, random), 255);
    EXPECT_EQ(picture.pixels, original.pixels);  // t = 255: unchanged

    picture = original;
    p.colour = render::kBlack;
    DrawCircleFrame(picture, p, FrameCircles(100, 80, p, random), 0);
    EXPECT_EQ(picture.pixels, original.pixels);  // black frame: nothing keyed

    picture = original;
    p = Params(40, 10, 3, 4, true, colour);  // 2 x b = h: the band covers everything
    DrawCircleFrame(picture, p, FrameCircles(100, 80, p, random), 0);
    EXPECT_EQ(picture.pixels, Filled(100, 80, colour).pixels);

    // Two sides: the side bands are solid and no circle reaches past them into the picture.
    picture = original;
    p = Params(16, 10, 3, 2, true, colour);
    DrawCircleFrame(picture, p, FrameCircles(100, 80, p, random), 0);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 16; ++x) ASSERT_EQ(picture.At(x, y), colour);
        for (int x = 84; x < 100; ++x) ASSERT_EQ(picture.At(x, y), colour);
    }
    for (int y = 27; y < 53; ++y)
        for (int x = 16; x < 84; ++x) ASSERT_EQ(picture.At(x, y), original.At(x, y)) << x << "," << y;

    // Radius 1: every circle is nothing or the 2 x 2 square at its centre.
    picture = original;
    p = Params(16, 1, 3, 4, true, colour);
    std::vector<Circle> ones;
    for (const Circle& c : FrameCircles(100, 80, p, random)) ones.push_back({c.x, c.y, 1});
    DrawCircleFrame(picture, p, ones, 0);
    EXPECT_EQ(picture.At(20, 16), colour);
    EXPECT_EQ(picture.At(21, 17), colour);
    EXPECT_EQ(picture.At(22, 17), original.At(22, 17));
    EXPECT_EQ(picture.At(20, 18), original.At(20, 18));
}

}  // namespace
}  // namespace velinor::marks
