#include "stamping/SourceFiles.h"

#include <sys/stat.h>

namespace velinor::stamping {

SourceFiles::SourceFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0) files_.insert({info.st_dev, info.st_ino});
    }
}

bool SourceFiles::Holds(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && files_.count({info.st_dev, info.st_ino}) != 0;
}

}  // namespace velinor::stamping
