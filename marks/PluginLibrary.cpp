#include "marks/PluginLibrary.h"

#include <dlfcn.h>

namespace velinor::marks {

PluginLibrary::PluginLibrary(const std::string& path) {
    // Without a slash dlopen would search the library path instead of the current folder.
    if (path.find('/') == std::string::npos) return;
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) ::dlclose(handle_);
}

void* PluginLibrary::FindSymbol(const char* name) const {
    return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace velinor::marks
