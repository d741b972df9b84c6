#pragma once

#include <string>

namespace velinor::app {

// The name under which path exists when its last component is compared without regard to
// the case of the letters A to Z: the path itself when it exists as written, else the first
// matching entry of its folder in name order, else the path unchanged (a file to be created
// gets the spelling the caller chose). The program's files were named on a file system that
// does not tell case apart, and "Settings.ini" and "settings.ini" must stay one file.
std::string ResolveFileName(const std::string& path);

// True when a and b are equal apart from the case of A to Z.
bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b);

}  // namespace velinor::app
