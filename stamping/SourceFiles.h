#pragma once

#include <sys/types.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace velinor::stamping {

// The files of a run's list as the file system knows them (device and inode), so that an output
// name reaching one of them by another spelling, a hard link, a symbolic link or a relative path
// is still recognised.
class SourceFiles {
public:
    explicit SourceFiles(const std::vector<std::string>& paths);

    // True when path, its links followed, is one of the sources.
    bool Holds(const std::string& path) const;

private:
    std::set<std::pair<dev_t, ino_t>> files_;
};

}  // namespace velinor::stamping
