#include "imageio/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "imageio/OutputGuard.h"
#include "imageio/StreamBuffer.h"
#include "imageio/TemporaryFiles.h"

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

// mkstemp creates 0600; a new picture gets the usual permissions under the umask.
mode_t DefaultFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

// Where the finished file goes: through a symbolic link to the file it names, so that saving
// over a link updates the linked file as writing in place would, instead of replacing the link.
std::string ResolveDestination(const std::string& destination) {
    struct stat info {};
    if (::lstat(destination.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return destination;
    std::unique_ptr<char, decltype(&std::free)> target(::realpath(destination.c_str(), nullptr), &std::free);
    return target ? std::string(target.get()) : destination;
}

// The replacement takes the owner, group and permission bits of the file it replaces. Owner
// and group first: changing them clears set-user-ID and set-group-ID bits. Where the owner
// cannot be kept (only root may give a file away), those two bits are not carried over, so a
// file never becomes set-ID for someone it was not set-ID for.
void CopyOwnerAndMode(int fd, const struct stat& existing) {
    struct stat mine {};
    mode_t mode = existing.st_mode & 07777;
    const bool differs = ::fstat(fd, &mine) != 0 || mine.st_uid != existing.st_uid || mine.st_gid != existing.st_gid;
    if (differs && ::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
        ::fchown(fd, static_cast<uid_t>(-1), existing.st_gid);   // the group at least, when it is ours
        mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
    }
    ::fchmod(fd, mode);
}

}  // namespace

AtomicFile::AtomicFile(const std::string& destination, Links links) : destination_(destination) {
    if (destination_.empty() || destination_.back() == '/') return;
    struct stat existing {};
    if (links == Links::Follow) {
        destination_ = ResolveDestination(destination);
    } else if (::lstat(destination_.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode)) {
        return;
    }
    if (::stat(destination_.c_str(), &existing) != 0) {
        OpenTemporary(false, nullptr);
        return;
    }
    // A file the user may not write stays as it is, as it would with writing in place; the
    // rename alone would need only the folder to be writable.
    if (::access(destination_.c_str(), W_OK) != 0) return;
    if (S_ISREG(existing.st_mode)) {
        OpenTemporary(true, &existing);
    } else if (S_ISCHR(existing.st_mode)) {
        // A device is written as it stands; renaming over it would replace the device node.
        const int fd = ::open(destination_.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) return;
        stream_ = ::fdopen(fd, "wb");
        if (stream_ == nullptr) ::close(fd);
        direct_ = stream_ != nullptr;
    }
    // Folders, FIFOs (which would wait for a reader), sockets and block devices: refused.
}

void AtomicFile::OpenTemporary(bool replacing, const struct stat* existing) {
    // The temporary file is named by its folder as it resolves now, so that a link in the path
    // changed before Commit (or before it is removed) cannot send the rename or the removal to
    // another folder.
    std::string pattern = TemporaryPattern(ResolvedName(destination_));
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return;
    temporary_ = name.data();
    signalSlot_ = RememberTemporary(temporary_);
    if (replacing) {
        CopyOwnerAndMode(fd, *existing);
    } else {
        ::fchmod(fd, DefaultFileMode());
    }
    stream_ = ::fdopen(fd, "wb");
    if (stream_ == nullptr) {
        ::close(fd);
        Discard();
        return;
    }
    GiveLargeBuffer(stream_, buffer_);
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
    ForgetTemporary(signalSlot_);
    signalSlot_ = -1;
    finished_ = false;
}

// The folder's own entry for the new name reaches the disk only when the folder is synced.
static void SyncFolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

bool AtomicFile::Finish() {
    if (finished_) return true;
    if (stream_ == nullptr) return false;
    // The contents reach the disk before the name does: after a power cut the name holds either
    // the old picture or the whole new one, never an empty file.
    const bool written = std::fflush(stream_) == 0 && std::ferror(stream_) == 0 &&
                         (direct_ || ::fsync(::fileno(stream_)) == 0);
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    finished_ = written && closed;
    if (!finished_ && !direct_) Discard();
    return finished_;
}

bool AtomicFile::Commit(const OutputGuard* guard) {
    if (!Finish()) return false;
    if (direct_) return true;
    const bool allowed = guard == nullptr || guard->Check(destination_) == OutputRefusal::None;
    if (!allowed || std::rename(temporary_.c_str(), destination_.c_str()) != 0) {
        Discard();
        return false;
    }
    temporary_.clear();
    ForgetTemporary(signalSlot_);
    signalSlot_ = -1;
    SyncFolderOf(destination_);
    return true;
}

std::unique_ptr<AtomicFile> FinishedAside(std::unique_ptr<AtomicFile> file) {
    if (!file || file->Direct() || !file->Finish()) return nullptr;
    return file;
}

}  // namespace velinor::imageio
