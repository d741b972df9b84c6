#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velinor::imageio {

// Every file the program reads whole or as a stream (pictures, logos, the language, settings
// and script files) is opened here, so that each fails for the same reasons.

// Pictures are photos; a file larger than this is refused rather than read into memory.
constexpr std::uintmax_t kMaxPictureFileBytes = std::uintmax_t{1} << 30;

// Why a file could not be read.
enum class ReadFailure {
    None,              // it was read
    Missing,           // no such file, or a folder on its path is missing
    Folder,            // the name is a folder
    PermissionDenied,
    NotRegularFile,    // a FIFO, device or socket: reading it could block or never end
    TooLarge,          // more bytes than the reader takes
    OutOfMemory,
    ReadError,         // the system failed the read, or the file shrank while it was read
};

// A value read from a file, or why there is none.
template <typename T>
struct ReadResult {
    std::optional<T> value;
    ReadFailure failure = ReadFailure::None;

    static ReadResult Failed(ReadFailure why) { return {std::nullopt, why}; }
    explicit operator bool() const { return value.has_value(); }
    T& operator*() { return *value; }
    const T& operator*() const { return *value; }
    T* operator->() { return &*value; }
    const T* operator->() const { return &*value; }
};

struct StreamCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using ReadStream = std::unique_ptr<std::FILE, StreamCloser>;

// A regular file open for reading. Opening never waits, even on a FIFO without a writer.
struct OpenedFile {
    ReadStream stream;
    std::uintmax_t size = 0;   // its size when it was opened
};
ReadResult<OpenedFile> OpenForReading(const std::string& path);

// The whole file; TooLarge when it holds more than maxBytes.
ReadResult<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                    std::uintmax_t maxBytes = kMaxPictureFileBytes);

// A file's bytes in memory that is written once, by the read itself, and never cleared first.
class FileBytes {
public:
    FileBytes(std::unique_ptr<std::uint8_t[]> data, std::size_t size) : data_(std::move(data)), size_(size) {}
    std::span<const std::uint8_t> Bytes() const { return {data_.get(), size_}; }

private:
    std::unique_ptr<std::uint8_t[]> data_;
    std::size_t size_;
};

// A picture file opened for reading in steps: its size and first bytes come first, so that a
// caller can judge from them whether the rest is worth reading before any of it is read.
class PictureFile {
public:
    // The first bytes read up front: enough for every fixed-position header and an icon
    // directory of a few thousand entries.
    static constexpr std::size_t kHeadBytes = 64 * 1024;

    static ReadResult<PictureFile> Open(const std::string& path);

    std::uintmax_t Size() const { return file_.size; }
    std::span<const std::uint8_t> Head() const { return {head_.data(), head_.size()}; }

    // All Size() bytes; ReadError when the file now holds fewer than it did when opened.
    ReadResult<FileBytes> ReadAll();

    // The open file positioned at its start, for decoders that read as they go. Owned here.
    std::FILE* Stream();

private:
    explicit PictureFile(OpenedFile file) : file_(std::move(file)) {}

    std::unique_ptr<char[]> buffer_;  // the stream's buffer: declared first, so freed after it closes
    OpenedFile file_;
    std::vector<std::uint8_t> head_;
};

}  // namespace velinor::imageio
