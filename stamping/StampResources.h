#pragma once

#include <optional>
#include <string>

#include "imageio/LoadFailure.h"
#include "render/RasterImage.h"
#include "stamping/StampMarks.h"
#include "stamping/StampSettings.h"

namespace velinor::stamping {

// What every picture of a run draws with, read once before the first picture and only read
// after that, by any number of workers at once.
struct StampResources {
    std::optional<render::RasterImage> logo;
    bool logoKeyed = false;
    render::Color keyColour = render::kBlack;
    std::optional<render::RasterImage> tile;

    LoadedLogo Logo() const { return {logo ? &*logo : nullptr, logoKeyed, keyColour}; }
};

// A file the run needs that could not be read.
struct ResourceProblem {
    std::string file;
    imageio::LoadFailure failure;
    bool logo = false;   // read through the logo routes (for the wording of the reason)
};

// Reads the logo (by the route its extension selects) and the texture tile the settings name.
// A keyed logo without a key colour takes the colour of its top-left pixel.
std::optional<ResourceProblem> LoadStampResources(const StampSettings& settings, StampResources& resources);

}  // namespace velinor::stamping
