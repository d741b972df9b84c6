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

void ExpectBounds(const std::optional<platform::Rect>& bounds, platform::Rect want) {
    ASSERT_TRUE(bounds.has_value());
    EXPECT_EQ(bounds->x, want.x);
    EXPECT_EQ(bounds->y, want.y);
    EXPECT_EQ(bounds->width, want.width);
    EXPECT_EQ(bounds->height, want.height);
}

// Where the full-size view is centred: the rectangle the mark changed, worked out by hand.
TEST(DifferenceBounds, HoldsEveryChangedPixelAndNothingElse) {
    const render::RasterImage original = Plain(40, 30, render::MakeColor(10, 20, 30));
    render::RasterImage marked = original;
    marked.At(5, 7) = render::kWhite;
    marked.At(31, 7) = render::kWhite;
    marked.At(12, 22) = render::MakeColor(10, 20, 31);   // one step in one channel counts
    ExpectBounds(DifferenceBounds(original, marked), {5, 7, 27, 16});

    // The corners of the picture belong to it.
    render::RasterImage corners = original;
    corners.At(0, 0) = render::kBlack;
    corners.At(39, 29) = render::kBlack;
    ExpectBounds(DifferenceBounds(original, corners), {0, 0, 40, 30});
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
