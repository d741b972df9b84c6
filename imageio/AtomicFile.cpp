#include "imageio/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace velinor::imageio {
namespace {

// Longest file part kept in the temporary name, so ".name.XXXXXX" stays within NAME_MAX.
constexpr std::size_t kMaxNameKept = 200;

std::string TemporaryPattern(const std::string& destination) {
    const auto slash = destination.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : destination.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? destination : destination.substr(slash + 1);
    if (name.size() > kMaxNameKept) name.resize(kMaxNameKept);
    return folder + "." + name + ".XXXXXX";
}

// mkstemp creates 0600; a saved picture should get the usual permissions under the umask.
mode_t DefaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

AtomicFile::AtomicFile(const std::string& destination) : destination_(destination) {
    if (destination.empty() || destination.back() == '/') return;
    std::string pattern = TemporaryPattern(destination);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return;
    temporary_ = name.data();
    ::fchmod(fd, DefaultFileMode());
    stream_ = ::fdopen(fd, "wb");
    if (stream_ == nullptr) {
        ::close(fd);
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool AtomicFile::Commit() {
    if (stream_ == nullptr) return false;
    const bool written = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!written || !closed || std::rename(temporary_.c_str(), destination_.c_str()) != 0) {
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

}  // namespace velinor::imageio
