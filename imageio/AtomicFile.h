#pragma once

#include <cstdio>
#include <string>

namespace velinor::imageio {

// A file written beside its destination under a temporary name and renamed over the
// destination only when Commit succeeds. Until then the destination is untouched; a writer
// that fails (or an AtomicFile destroyed without Commit) removes its temporary file, so a
// failed save never leaves a truncated picture nor destroys the one already there.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& destination);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool IsOpen() const { return stream_ != nullptr; }
    std::FILE* Stream() const { return stream_; }
    const std::string& TemporaryPath() const { return temporary_; }

    // Flushes, closes and renames into place. False (and the temporary file removed) when any
    // earlier write on the stream failed or the rename is refused.
    bool Commit();

private:
    void Discard();

    std::string destination_;
    std::string temporary_;
    std::FILE* stream_ = nullptr;
};

}  // namespace velinor::imageio
