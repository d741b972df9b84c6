#pragma once

#include <string>
#include <vector>

#include "app/ProgramState.h"

namespace velinor::app {

// One category of textures: a sub-folder of texturen/ and its tile files.
struct TextureCategory {
    std::string name;
    std::vector<std::string> files;   // file names with extension
};

// The categories under folder (ending with '/'), each with its files whose extension is a
// texture's (imageio::kTexture: lower case only). Names are sorted: directory order is arbitrary on Linux, and a
// sorted tree gives the same window on every machine. Empty when the folder is missing.
std::vector<TextureCategory> ScanTextureFolder(const std::string& folder);

// Fills TreeTextures from texturen/ beside the program, with the tiles as icons (loaded into
// image 169; a tile that does not load gets its entry without an icon). Every category is
// listed, however many there are.
void FillTextureTree(ProgramState& state);

}  // namespace velinor::app
