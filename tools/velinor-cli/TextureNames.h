#pragma once

#include <optional>
#include <string>

namespace velinor::tools {

// The tile a texture name stands for: a file of that path, else "FOLDER/FILE" or a file's name
// (with or without its extension) in a folder of the program's texture tiles (files::Current). Nothing when
// there is no such tile.
std::optional<std::string> TextureFile(const std::string& name);

}  // namespace velinor::tools
