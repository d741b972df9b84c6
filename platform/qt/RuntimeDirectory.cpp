#include "platform/qt/RuntimeDirectory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace velinor::platform::qt {

namespace {

constexpr mode_t kPrivate = 0700;

// True when path is a real folder (not a link to one) of this user that nobody else may enter,
// the conditions Qt checks before it uses the folder without a warning.
bool UsablePrivateFolder(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) return false;
    if ((info.st_mode & 07777) == kPrivate) return true;
    return ::chmod(path.c_str(), kPrivate) == 0;
}

}  // namespace

void PrepareRuntimeDirectory() {
    const char* current = std::getenv("XDG_RUNTIME_DIR");
    if (current != nullptr && *current != '\0') return;

    std::string folder = "/tmp/runtime-" + std::to_string(::getuid());
    if (::mkdir(folder.c_str(), kPrivate) != 0 && errno != EEXIST) folder.clear();
    if (!folder.empty() && !UsablePrivateFolder(folder)) folder.clear();
    if (folder.empty()) {
        // Someone else holds the usual name: a fresh folder of our own serves as well.
        std::string pattern = "/tmp/velinor-runtime-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (::mkdtemp(name.data()) == nullptr) return;   // Qt then says why in its own warning
        folder = name.data();
    }
    ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

}  // namespace velinor::platform::qt
