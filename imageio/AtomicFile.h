#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>

namespace velinor::imageio {

// A file written beside its destination under a temporary name and renamed over the
// destination only when Commit succeeds. Until then the destination is untouched; a writer
// that fails (or an AtomicFile destroyed without Commit) removes its temporary file, so a
// failed save never leaves a truncated picture nor destroys the one already there. The
// temporary file is removed as well when the process is ended by SIGTERM, SIGINT or SIGHUP.
//
// A replaced file keeps its permission bits and, where the user may set them, its owner and
// group. A symbolic link is followed: the file it names is replaced, the link stays. Another
// hard link to the file keeps the old contents (the name is given a new file).
//
// A destination that is not a regular file is never replaced: a character device (/dev/null,
// /dev/full, a terminal) is written through directly, and anything else (a folder, a FIFO, a
// socket, a block device) is refused.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& destination);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool IsOpen() const { return stream_ != nullptr; }
    std::FILE* Stream() const { return stream_; }
    // Empty when writing straight to a device.
    const std::string& TemporaryPath() const { return temporary_; }

    // Flushes, closes and renames into place. False (and the temporary file removed) when any
    // earlier write on the stream failed or the rename is refused.
    bool Commit();

private:
    void OpenTemporary(bool replacing, const struct stat* existing);
    void Discard();

    std::string destination_;
    std::string temporary_;
    std::unique_ptr<char[]> buffer_;  // the temporary file's stream buffer, freed after it closes
    std::FILE* stream_ = nullptr;
    int signalSlot_ = -1;
    bool direct_ = false;   // writing through a device, no temporary file
};

}  // namespace velinor::imageio
