#include "files/ProgramFiles.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace velinor::files {

namespace {

namespace fs = std::filesystem;

// The installed tree's folders relative to its prefix; the build's install rules use the same.
constexpr const char* kBinFolder = VELINOR_INSTALL_BINDIR;
constexpr const char* kLibraryFolder = VELINOR_INSTALL_LIBRARYDIR;
constexpr const char* kDataFolder = VELINOR_INSTALL_DATADIR;
constexpr const char* kSettingsFolderName = "velinor";
constexpr const char* kLanguageFileName = "lang.prf";
constexpr const char* kSettingsFileName = "Settings.ini";
constexpr const char* kTextureFolderName = "texturen/";

std::string WithSlash(const fs::path& folder) {
    std::string text = folder.lexically_normal().string();
    if (text.empty() || text.back() != '/') text += '/';
    return text;
}

// PREFIX for a program file in PREFIX/bin/: as many folders up as the bin folder is deep.
fs::path PrefixOf(const std::string& programFolder) {
    fs::path prefix = fs::path(programFolder).lexically_normal();
    if (!prefix.has_filename()) prefix = prefix.parent_path();   // "…/bin/" names "…/bin"
    const fs::path bin(kBinFolder);
    for (auto part = bin.begin(); part != bin.end(); ++part) prefix = prefix.parent_path();
    return prefix;
}

// $XDG_CONFIG_HOME when it is an absolute path (the XDG rules ignore a relative one), else
// ~/.config; empty without a home folder.
std::string ConfigHome(const Surroundings& surroundings) {
    if (!surroundings.xdgConfigHome.empty() && surroundings.xdgConfigHome.front() == '/') return surroundings.xdgConfigHome;
    if (surroundings.home.empty()) return {};
    return (fs::path(surroundings.home) / ".config").string();
}

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string HomeFolder() {
    std::string home = Variable("HOME");
    if (!home.empty()) return home;
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

ProgramFiles& Settled() {
    static ProgramFiles files;
    return files;
}

}  // namespace

ProgramFiles LayoutFor(const Surroundings& surroundings) {
    ProgramFiles files;
    if (surroundings.runtimeFolder) {
        files.textureFolder = surroundings.programFolder + kTextureFolderName;
        return files;
    }
    const fs::path prefix = PrefixOf(surroundings.programFolder);
    files.installed = true;
    files.dataFolder = WithSlash(prefix / kDataFolder);
    files.languageFile = files.dataFolder + kLanguageFileName;
    files.textureFolder = files.dataFolder + kTextureFolderName;
    files.libraryFolder = WithSlash(prefix / kLibraryFolder);
    const std::string configHome = ConfigHome(surroundings);
    if (configHome.empty()) {
        files.settingsFile.clear();
    } else {
        files.settingsFolder = WithSlash(fs::path(configHome) / kSettingsFolderName);
        files.settingsFile = files.settingsFolder + kSettingsFileName;
    }
    return files;
}

Surroundings ThisProcess(const std::string& programFolder) {
    Surroundings surroundings;
    surroundings.programFolder = programFolder;
    struct stat info {};
    surroundings.runtimeFolder = ::stat(kLanguageFileName, &info) == 0;
    surroundings.xdgConfigHome = Variable("XDG_CONFIG_HOME");
    surroundings.home = HomeFolder();
    return surroundings;
}

std::string OwnFolder() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "./";
    const std::string full(path, static_cast<std::size_t>(length));
    return full.substr(0, full.rfind('/') + 1);
}

const ProgramFiles& Current() { return Settled(); }

void Use(ProgramFiles files) { Settled() = std::move(files); }

std::string LibraryPath(const std::string& name) { return Current().libraryFolder + name; }

std::string ShownLibraryFolder() {
    const std::string& folder = Current().libraryFolder;
    return folder.empty() || folder.front() == '/' ? folder : "./" + folder;
}

bool MakeSettingsFolder() {
    const std::string& folder = Current().settingsFolder;
    if (folder.empty()) return !Current().settingsFile.empty();
    // Each missing folder from the top down, so that ~/.config made here is private as well.
    fs::path made;
    for (const auto& part : fs::path(folder)) {
        made /= part;
        if (part.empty() || made == made.root_path()) continue;
        if (::mkdir(made.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace velinor::files
