#pragma once

#include <string>
#include <utility>
#include <vector>

#include "stamping/StampSettings.h"

namespace velinor::stamping {

// The group of a key-value file (Settings.ini's format) that holds a preset.
inline constexpr const char* kPresetGroup = "Stamp";

// The name of the preset file the window writes beside its settings.
inline constexpr const char* kPresetFile = "Stamp.ini";

// settings as the lines of a preset: each key an option of velinor-cli stamp without its dashes,
// each value as that option takes it (switches 1 or 0), so that stamp --preset draws the same.
std::vector<std::pair<std::string, std::string>> PresetEntries(const StampSettings& settings);

}  // namespace velinor::stamping
