#pragma once

#include <string>

namespace velinor::plugins {

// One picture library opened with dlopen for as long as this object lives. The path is taken
// as given: a relative path containing a slash (data/image323.so) is resolved against the
// current folder and never searched for on the library path.
class PluginLibrary {
public:
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool IsOpen() const { return handle_ != nullptr; }

    // The export of that name as a function pointer; null when the library is not open or
    // lacks it.
    template <typename Function>
    Function Find(const char* name) const {
        return reinterpret_cast<Function>(FindSymbol(name));
    }

private:
    void* FindSymbol(const char* name) const;

    void* handle_ = nullptr;
};

}  // namespace velinor::plugins
