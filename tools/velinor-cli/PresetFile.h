#pragma once

#include <string>

#include "stamping/PresetEntries.h"
#include "tools/velinor-cli/StampOptions.h"

namespace velinor::tools {

using stamping::kPresetGroup;

// Reads the [Stamp] group of a key-value file into command: every key is an option name of
// velinor-cli stamp without its dashes, switches take 1 or 0. False, with problem naming the
// file and the key, when the file cannot be read, has no such group, or holds a bad value.
bool ReadPresetFile(const std::string& path, StampCommand& command, std::string& problem);

}  // namespace velinor::tools
