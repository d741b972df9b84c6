#include <gtest/gtest.h>

#include "app/ResultView.h"

namespace velinor::app {
namespace {

render::RasterImage Plain(int width, int height, render::Color colour) {
    render::RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, colour);
    return image;
}

// Where the full-size view is centred: the rectangle the mark changed, worked out by hand.
TEST(DifferenceBounds, HoldsEveryChangedPixelAndNothingElse) {
    const render::RasterImage original = Plain(40, 30, render::MakeColor(10, 20, 30));
    render::RasterImage marked = original;
    marked.At(5, 7) = render::kWhite;
    marked.At(31, 7) = render::kWhite;
    marked.At(12, 22) = render::MakeColor(10, 20, 31);   // one step in one channel counts
    const auto bounds = DifferenceBounds(original, marked);
    ASSERT_TRUE(bounds.has_value());
    EXPECT_EQ(bounds->x, 5);
    EXPECT_EQ(bounds->y, 7);
    EXPECT_EQ(bounds->width, 27);
    EXPECT_EQ(bounds->height, 16);

    // The corners of the picture belong to it.
    render::RasterImage corners = original;
    corners.At(0, 0) = render::kBlack;
    corners.At(39, 29) = render::kBlack;
    const auto whole = DifferenceBounds(original, corners);
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(whole->x, 0);
    EXPECT_EQ(whole->y, 0);
    EXPECT_EQ(whole->width, 40);
    EXPECT_EQ(whole->height, 30);
}

TEST(DifferenceBounds, NoneForAlikePicturesOtherSizesOrOnlyTheUnusedByte) {
    const render::RasterImage original = Plain(8, 8, render::kLightGrey);
    EXPECT_FALSE(DifferenceBounds(original, original).has_value());
    EXPECT_FALSE(DifferenceBounds(original, Plain(8, 9, render::kWhite)).has_value());
    render::RasterImage topByte = original;
    topByte.At(3, 3) |= 0xFF000000u;   // not a colour
    EXPECT_FALSE(DifferenceBounds(original, topByte).has_value());
    EXPECT_FALSE(DifferenceBounds(render::RasterImage{}, render::RasterImage{}).has_value());
}

}  // namespace
}  // namespace velinor::app
