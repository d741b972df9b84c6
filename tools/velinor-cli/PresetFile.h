#pragma once

#include <string>

#include "tools/velinor-cli/StampOptions.h"

namespace velinor::tools {

// The group of a key-value file (the program's Settings.ini format) that holds a preset.
inline constexpr const char* kPresetGroup = "Stamp";

// Reads the [Stamp] group of a key-value file into command: every key is an option name of
// velinor-cli stamp without its dashes, switches take 1 or 0. False, with problem naming the
// file and the key, when the file cannot be read, has no such group, or holds a bad value.
bool ReadPresetFile(const std::string& path, StampCommand& command, std::string& problem);

}  // namespace velinor::tools
