#include "tools/velinor-cli/TextureNames.h"

#include <filesystem>
#include <system_error>

#include "files/ProgramFiles.h"

namespace velinor::tools {

namespace {

namespace fs = std::filesystem;

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

}  // namespace

std::optional<std::string> TextureFile(const std::string& name) {
    if (name.empty()) return std::nullopt;
    if (IsFile(name)) return name;
    const fs::path folder = files::Current().textureFolder;
    if (name.find('/') != std::string::npos) {
        if (name.find("..") == std::string::npos && IsFile(folder / name)) return (folder / name).string();
        return std::nullopt;
    }
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const fs::path& path = it->path();
        if (IsFile(path) && (path.filename() == name || path.stem() == name)) return path.string();
    }
    return std::nullopt;
}

}  // namespace velinor::tools
