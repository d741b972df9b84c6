#include "imageio/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "imageio/StreamBuffer.h"

namespace velinor::imageio {

namespace {

ReadFailure FailureOf(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR: return ReadFailure::Missing;
        case EACCES:
        case EPERM: return ReadFailure::PermissionDenied;
        case EISDIR: return ReadFailure::Folder;
        case ENOMEM: return ReadFailure::OutOfMemory;
        default: return ReadFailure::ReadError;
    }
}

// Closes a descriptor until a stream takes it over.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

ReadResult<OpenedFile> OpenForReading(const std::string& path) {
    // O_NONBLOCK only for the open itself: a FIFO would otherwise wait here for a writer.
    Descriptor descriptor{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
    if (descriptor.fd < 0) return ReadResult<OpenedFile>::Failed(FailureOf(errno));
    struct stat info {};
    if (::fstat(descriptor.fd, &info) != 0) return ReadResult<OpenedFile>::Failed(FailureOf(errno));
    if (S_ISDIR(info.st_mode)) return ReadResult<OpenedFile>::Failed(ReadFailure::Folder);
    if (!S_ISREG(info.st_mode) || info.st_size < 0) return ReadResult<OpenedFile>::Failed(ReadFailure::NotRegularFile);
    const int flags = ::fcntl(descriptor.fd, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor.fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return ReadResult<OpenedFile>::Failed(FailureOf(errno));
    }
    ReadStream stream(::fdopen(descriptor.fd, "rb"));
    if (!stream) return ReadResult<OpenedFile>::Failed(FailureOf(errno));
    descriptor.fd = -1;   // the stream closes it now
    return {OpenedFile{std::move(stream), static_cast<std::uintmax_t>(info.st_size)}, ReadFailure::None};
}

ReadResult<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path, std::uintmax_t maxBytes) {
    using Result = ReadResult<std::vector<std::uint8_t>>;
    auto file = OpenForReading(path);
    if (!file) return Result::Failed(file.failure);
    if (file->size > maxBytes || file->size > SIZE_MAX) return Result::Failed(ReadFailure::TooLarge);
    std::vector<std::uint8_t> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(file->size));
    } catch (const std::bad_alloc&) {
        return Result::Failed(ReadFailure::OutOfMemory);
    }
    if (!bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file->stream.get()) != bytes.size()) {
        return Result::Failed(ReadFailure::ReadError);
    }
    return {std::move(bytes), ReadFailure::None};
}

ReadResult<PictureFile> PictureFile::Open(const std::string& path) {
    auto file = OpenForReading(path);
    if (!file) return ReadResult<PictureFile>::Failed(file.failure);
    PictureFile opened(std::move(*file));
    std::FILE* stream = opened.file_.stream.get();
    GiveLargeBuffer(stream, opened.buffer_);
    opened.head_.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(opened.file_.size, kHeadBytes)));
    const std::size_t got = std::fread(opened.head_.data(), 1, opened.head_.size(), stream);
    if (std::ferror(stream)) return ReadResult<PictureFile>::Failed(ReadFailure::ReadError);
    opened.head_.resize(got);
    return {std::move(opened), ReadFailure::None};
}

ReadResult<FileBytes> PictureFile::ReadAll() {
    using Result = ReadResult<FileBytes>;
    if (file_.size > SIZE_MAX) return Result::Failed(ReadFailure::TooLarge);
    const auto size = static_cast<std::size_t>(file_.size);
    // Default-initialised: the read writes every byte, so clearing them first would only
    // touch the memory twice.
    std::unique_ptr<std::uint8_t[]> data(new (std::nothrow) std::uint8_t[std::max<std::size_t>(size, 1)]);
    if (!data) return Result::Failed(ReadFailure::OutOfMemory);
    if (head_.size() > size) return Result::Failed(ReadFailure::ReadError);
    std::memcpy(data.get(), head_.data(), head_.size());
    std::FILE* file = file_.stream.get();
    if (std::fseek(file, static_cast<long>(head_.size()), SEEK_SET) != 0) return Result::Failed(ReadFailure::ReadError);
    const std::size_t rest = size - head_.size();
    if (rest > 0 && std::fread(data.get() + head_.size(), 1, rest, file) != rest) {
        return Result::Failed(ReadFailure::ReadError);
    }
    return {FileBytes(std::move(data), size), ReadFailure::None};
}

std::FILE* PictureFile::Stream() {
    std::rewind(file_.stream.get());
    return file_.stream.get();
}

}  // namespace velinor::imageio
