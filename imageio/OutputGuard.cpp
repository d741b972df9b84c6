#include "imageio/OutputGuard.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "imageio/FileNames.h"

namespace velinor::imageio {

namespace {

std::string RealPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : std::string();
}

std::string WorkingFolder() {
    std::unique_ptr<char, decltype(&std::free)> here(::getcwd(nullptr, 0), &std::free);
    return here ? std::string(here.get()) : std::string();
}

}  // namespace

std::string ResolvedName(const std::string& path) {
    const std::string::size_type slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    std::string real = RealPath(folder);
    if (real.empty()) real = path.starts_with('/') ? folder : WorkingFolder() + "/" + folder;
    return (real.ends_with('/') ? real : real + "/") + name;
}

OutputGuard::OutputGuard(const std::vector<std::string>& readFiles) {
    for (const std::string& path : readFiles) Protect(path);
}

void OutputGuard::Protect(const std::string& path) {
    const std::size_t index = paths_.size();
    paths_.push_back(path);
    byName_.emplace(FilePart(path), index);
    const std::string real = RealPath(path);
    if (!real.empty() && FilePart(real) != FilePart(path)) byName_.emplace(FilePart(real), index);
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) files_.emplace(std::pair{info.st_dev, info.st_ino}, index);
}

OutputRefusal OutputGuard::Check(const std::string& output, std::size_t* which) const {
    const auto refuse = [which](std::size_t index) {
        if (which != nullptr) *which = index;
        return OutputRefusal::ReadByRun;
    };
    struct stat info {};
    const bool exists = ::lstat(output.c_str(), &info) == 0;
    if (exists && S_ISLNK(info.st_mode)) return OutputRefusal::SymbolicLink;
    if (exists) {
        const auto file = files_.find({info.st_dev, info.st_ino});
        if (file != files_.end()) return refuse(file->second);
    }
    const std::string name = ResolvedName(output);
    const auto [first, last] = byName_.equal_range(FilePart(output));
    for (auto it = first; it != last; ++it) {
        const std::string& path = paths_[it->second];
        if (ResolvedName(path) == name || RealPath(path) == name) return refuse(it->second);
    }
    return OutputRefusal::None;
}

}  // namespace velinor::imageio
