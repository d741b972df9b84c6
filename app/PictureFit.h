#pragma once

// The one rule that fits a picture into a box for showing it: the previews, the start
// argument's picture and the batch-tab thumbnails each use it with their own sizes.
namespace velinor::app {

struct FittedSize {
    int width = 0;
    int height = 0;
};

// A box a picture is shown in: pictures that fit in maxWidth x maxHeight are shown as they
// are; larger ones become tallHeight pixels high below aspect 1.4 and wideHeight pixels high
// from 1.4 on.
struct FitRule {
    int maxWidth = 0;
    int maxHeight = 0;
    int tallHeight = 0;
    int wideHeight = 0;
};

// The preview boxes of the first tab: 180 high below aspect 1.4, 120 from 1.4 on.
inline constexpr FitRule kPreviewFit{220, 200, 180, 120};
// The start argument's picture: 180 high whatever its aspect.
inline constexpr FitRule kStartPreviewFit{220, 200, 180, 180};
// The 160 x 140 thumbnail box: 110 high below aspect 1.4, 70 from 1.4 on.
inline constexpr FitRule kThumbnailFit{160, 140, 110, 70};

// The size a width x height picture is shown at under rule: the width follows the aspect (a
// 32-bit float) times the new height, rounded to nearest, ties to even.
FittedSize FitToBox(int width, int height, const FitRule& rule);

// The size in a preview box (kPreviewFit).
FittedSize PreviewSize(int width, int height);

}  // namespace velinor::app
