#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace velinor::imageio {

// Why a run may not write one of its outputs.
enum class OutputRefusal {
    None,           // it may be written
    ReadByRun,      // the name is one of the files the run reads (a source, the logo)
    SymbolicLink,   // the name is a symbolic link, which a run never writes through
};

// The files a run reads, so that none of its outputs is ever written over one of them: a source
// may be replaced under its name while the run is busy (editors and sync tools rename a new file
// over the old one), so a name is compared by path as it resolves at the moment of writing, and
// by the file (device and inode) each read file was when the run started, which catches another
// spelling of it, a hard link or a folder reached through a link.
class OutputGuard {
public:
    OutputGuard() = default;
    explicit OutputGuard(const std::vector<std::string>& readFiles);

    // Adds one file the run reads (it need not exist yet); the files are numbered from 0 in the
    // order they were added.
    void Protect(const std::string& path);

    // What stops output from being written now: a symbolic link at that name, or a name that is,
    // or resolves to, one of the protected files (whose number goes to which, when given).
    // Called just before the file is put in place.
    OutputRefusal Check(const std::string& output, std::size_t* which = nullptr) const;

private:
    std::vector<std::string> paths_;
    // Each protected path under its own file name and under the name of the file it resolved
    // to, so that an output is compared only with the few files that could be it.
    std::unordered_multimap<std::string, std::size_t> byName_;
    std::map<std::pair<dev_t, ino_t>, std::size_t> files_;
};

// path with its folder resolved through the file system (links, "..", relative to the working
// folder) and its last part kept as written: the name a write to path replaces. The path made
// absolute as written when its folder does not exist.
std::string ResolvedName(const std::string& path);

}  // namespace velinor::imageio
