#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>

namespace velinor::imageio {

class OutputGuard;

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
// A run that writes many outputs asks for links to be refused instead (Links::Refuse): a link
// planted under an output name is then never written through, and the file stays unwritten.
//
// A destination that is not a regular file is never replaced: a character device (/dev/null,
// /dev/full, a terminal) is written through directly, and anything else (a folder, a FIFO, a
// socket, a block device) is refused.
class AtomicFile {
public:
    enum class Links { Follow, Refuse };
    explicit AtomicFile(const std::string& destination, Links links = Links::Follow);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool IsOpen() const { return stream_ != nullptr; }
    std::FILE* Stream() const { return stream_; }
    // Empty when writing straight to a device.
    const std::string& TemporaryPath() const { return temporary_; }

    // True when writing straight to a device, with no temporary file to put in place later.
    bool Direct() const { return direct_; }

    // Flushes, syncs to the disk and closes the temporary file, which then waits for Commit
    // (on another thread, later, or never: destroyed, it is removed). False (and the temporary
    // file removed) when any write on the stream failed. Commit does this itself when it was
    // not done.
    bool Finish();

    // Finishes the file and renames it into place, then syncs the folder. False (and the
    // temporary file removed) when any earlier write on the stream failed, guard (when given)
    // refuses the destination at that moment, or the rename is refused.
    bool Commit(const OutputGuard* guard = nullptr);

private:
    void OpenTemporary(bool replacing, const struct stat* existing);
    void Discard();

    std::string destination_;
    std::string temporary_;
    std::unique_ptr<char[]> buffer_;  // the temporary file's stream buffer, freed after it closes
    std::FILE* stream_ = nullptr;
    int signalSlot_ = -1;
    bool direct_ = false;   // writing through a device, no temporary file
    bool finished_ = false; // Finish succeeded: the temporary file is whole and closed
};

// file finished and left aside for a Commit in its turn; null when there is no file, when it
// writes straight to a device (nothing may reach a device before its turn), or when finishing
// it failed.
std::unique_ptr<AtomicFile> FinishedAside(std::unique_ptr<AtomicFile> file);

}  // namespace velinor::imageio
