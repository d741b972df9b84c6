#pragma once

#include <string>

namespace velinor::imageio {

// The text after the last '.' of path that has no '/' after it, ended by a double quote if it
// holds one; empty when there is no such dot. Extensions are compared exactly, case included.
std::string ExtensionPart(const std::string& path);

// The text after the last '/'.
std::string FilePart(const std::string& path);

}  // namespace velinor::imageio
