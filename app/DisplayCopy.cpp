#include "app/DisplayCopy.h"

#include "imageio/DisplayColour.h"

namespace velinor::app {

void ShowInSrgb(render::RasterImage& shownCopy, std::span<const std::uint8_t> iccProfile) {
    imageio::ConvertToSrgbForDisplay(shownCopy, iccProfile);
}

}  // namespace velinor::app
