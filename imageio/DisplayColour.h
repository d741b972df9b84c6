#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "render/RasterImage.h"

namespace velinor::imageio {

// Converts the pixels of image in place from the colours of an embedded ICC profile to sRGB, the
// colours the screen is taken to show, so that a photo tagged (say) Adobe RGB is not shown dull.
// The rendering intent is perceptual where the profile has it, else relative colorimetric; for
// the matrix profiles cameras and editors embed, the two are the same colorimetric mapping, and
// for table profiles perceptual is the one made for photographs. The top byte of each pixel and
// an icon's mask are kept.
//
// False, with the pixels as they were, when the profile is empty, does not parse, describes
// anything but RGB, or maps every colour to within one level of itself (an sRGB profile).
// Safe to call from several threads; the conversion built for the last profile seen is kept, so
// the pictures of a folder that share a profile build it once.
bool ConvertToSrgbForDisplay(render::RasterImage& image, std::span<const std::uint8_t> iccProfile);

// True when the bytes are a complete ICC profile that can serve as a picture's colours: its
// declared size fits the bytes and its colours can be converted to the profile connection space.
bool ProfileParses(std::span<const std::uint8_t> iccProfile);

// The profile's description text (English where it has several), as UTF-8; empty when it has
// none or does not parse.
std::string ProfileDescription(std::span<const std::uint8_t> iccProfile);

}  // namespace velinor::imageio
