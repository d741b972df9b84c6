#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velinor::imageio {

// Pictures are photos; a file larger than this is refused rather than read into memory.
constexpr std::uintmax_t kMaxPictureFileBytes = std::uintmax_t{1} << 30;

// The whole file, or nothing when it cannot be opened or read or is larger than maxBytes.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
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

    // Nothing when the file cannot be opened or its size is unknown.
    static std::optional<PictureFile> Open(const std::string& path);

    std::uintmax_t Size() const { return size_; }
    std::span<const std::uint8_t> Head() const { return {head_.data(), head_.size()}; }

    // All Size() bytes, or nothing when the file holds fewer than it did when opened or
    // memory runs out.
    std::optional<FileBytes> ReadAll();

    // The open file positioned at its start, for decoders that read as they go. Owned here.
    std::FILE* Stream();

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    PictureFile(std::unique_ptr<std::FILE, Closer> file, std::uintmax_t size) : file_(std::move(file)), size_(size) {}

    std::unique_ptr<char[]> buffer_;  // the stream's buffer: declared first, so freed after it closes
    std::unique_ptr<std::FILE, Closer> file_;
    std::uintmax_t size_;
    std::vector<std::uint8_t> head_;
};

}  // namespace velinor::imageio
