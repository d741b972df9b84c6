#include "app/PictureFit.h"

#include <cmath>

namespace velinor::app {

namespace {

constexpr float kWideAspect = 1.4f;

}  // namespace

FittedSize FitToBox(int width, int height, const FitRule& rule) {
    if (height <= rule.maxHeight && width <= rule.maxWidth) return {width, height};
    // The aspect is kept as a 32-bit float; the width is that float times the height, rounded
    // to the nearest integer with ties to even (the default rounding of nearbyint).
    const float ratio = static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
    const int target = ratio < kWideAspect ? rule.tallHeight : rule.wideHeight;
    const double scaled = std::nearbyint(static_cast<double>(ratio) * target);
    return {static_cast<int>(scaled), target};
}

FittedSize PreviewSize(int width, int height) { return FitToBox(width, height, kPreviewFit); }

}  // namespace velinor::app
