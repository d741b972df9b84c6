#pragma once

#include <span>
#include <string>

namespace velinor::plugins {

// True when path is a shared object this process can load without harm: a complete ELF file of
// this machine's class, byte order and architecture, whose loadable segments and section table
// lie within the file, and whose dynamic symbols that carry a picture-library entry-point name
// are defined functions inside an executable segment. A truncated or damaged library (which
// dlopen would map and touch past its end) or one whose entry points are data (which the
// program would call) fails, so that callers can treat it exactly like a missing one. So does
// one that lacks any of the required exports as a defined function: another library in its
// place, or the two picture libraries swapped.
bool IsSoundSharedObject(const std::string& path, std::span<const char* const> required = {});

}  // namespace velinor::plugins
