#include <gtest/gtest.h>

#include "app/PictureFit.h"

namespace velinor::app {
namespace {

// Sizes worked out by hand: the new height by the aspect's side of 1.4, the width the aspect
// times that height, rounded to nearest.
TEST(PictureFit, PreviewStartAndThumbnailBoxes) {
    const auto expect = [](FittedSize size, int width, int height) {
        EXPECT_EQ(size.width, width);
        EXPECT_EQ(size.height, height);
    };
    expect(PreviewSize(220, 200), 220, 200);                        // fits: as it is
    expect(PreviewSize(300, 200), 180, 120);                        // aspect 1.5: 120 high
    expect(PreviewSize(400, 600), 120, 180);                        // aspect 0.667: 180 high
    expect(PreviewSize(1400, 1000), 168, 120);                      // aspect 1.4 exactly: wide
    expect(FitToBox(300, 200, kStartPreviewFit), 270, 180);         // always 180 high
    expect(FitToBox(221, 100, kStartPreviewFit), 398, 180);         // 2.21 x 180 = 397.8
    expect(FitToBox(160, 140, kThumbnailFit), 160, 140);
    expect(FitToBox(400, 600, kThumbnailFit), 73, 110);             // 0.667 x 110 = 73.3
    expect(FitToBox(640, 480, kThumbnailFit), 147, 110);            // 1.333 x 110 = 146.7
    expect(FitToBox(800, 400, kThumbnailFit), 140, 70);             // aspect 2: 70 high
}

}  // namespace
}  // namespace velinor::app
