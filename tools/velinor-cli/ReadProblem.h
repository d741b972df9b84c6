#pragma once

#include <string>

namespace velinor::tools {

// Why a picture that did not load could not be read, as the end of one line after its name:
// "no such file", "is a folder", "permission denied", "is not a picture Velinor reads",
// "is truncated or damaged", or, for a logo read through the picture libraries, that they were
// not found in ./data/. Asked only after the load failed, so every check here is about telling
// the user which of these it was.
std::string ReadProblem(const std::string& path, bool logo);

}  // namespace velinor::tools
