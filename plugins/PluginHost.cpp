#include "plugins/PluginHost.h"

#include <dlfcn.h>

#include "plugins/SharedObjectCheck.h"

namespace velinor::plugins {

PluginLibrary::PluginLibrary(const std::string& path) {
    // Without a slash dlopen would search the library path instead of the current folder.
    if (path.find('/') == std::string::npos) return;
    if (!IsSoundSharedObject(path)) return;   // damaged: as if it were missing
    handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

PluginLibrary::~PluginLibrary() {
    if (handle_ != nullptr) ::dlclose(handle_);
}

void* PluginLibrary::FindSymbol(const char* name) const {
    return handle_ != nullptr ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace velinor::plugins
