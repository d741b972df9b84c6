#pragma once

#include <string>

#include "imageio/LoadFailure.h"

namespace velinor::tools {

// The one line (without the program's name) that tells the user why the picture at path did
// not load. logo says the picture was asked for as a logo (--logo); a GIF or PCX file asked for
// as a picture is then pointed to that option when its name would take a picture library.
std::string ReadProblem(const std::string& path, const imageio::LoadFailure& failure, bool logo);

}  // namespace velinor::tools
