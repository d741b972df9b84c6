#include "imageio/FileBytes.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <new>

#include "imageio/RegularFile.h"
#include "imageio/StreamBuffer.h"

namespace velinor::imageio {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       std::uintmax_t maxBytes) {
    if (!IsRegularFile(path)) return std::nullopt;   // a FIFO or device would block or never end
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > maxBytes) return std::nullopt;
    file.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return bytes;
}

std::optional<PictureFile> PictureFile::Open(const std::string& path) {
    if (!IsRegularFile(path)) return std::nullopt;   // a FIFO or device would block or never end
    std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
    if (!file) return std::nullopt;
    struct stat status {};
    if (::fstat(::fileno(file.get()), &status) != 0 || status.st_size < 0) return std::nullopt;
    PictureFile opened(std::move(file), static_cast<std::uintmax_t>(status.st_size));
    GiveLargeBuffer(opened.file_.get(), opened.buffer_);
    opened.head_.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(opened.size_, kHeadBytes)));
    const std::size_t got = std::fread(opened.head_.data(), 1, opened.head_.size(), opened.file_.get());
    opened.head_.resize(got);
    return opened;
}

std::optional<FileBytes> PictureFile::ReadAll() {
    if (size_ > SIZE_MAX) return std::nullopt;
    const auto size = static_cast<std::size_t>(size_);
    // Default-initialised: the read writes every byte, so clearing them first would only
    // touch the memory twice.
    std::unique_ptr<std::uint8_t[]> data(new (std::nothrow) std::uint8_t[std::max<std::size_t>(size, 1)]);
    if (!data) return std::nullopt;
    if (head_.size() > size) return std::nullopt;
    std::memcpy(data.get(), head_.data(), head_.size());
    std::FILE* file = file_.get();
    if (std::fseek(file, static_cast<long>(head_.size()), SEEK_SET) != 0) return std::nullopt;
    const std::size_t rest = size - head_.size();
    if (rest > 0 && std::fread(data.get() + head_.size(), 1, rest, file) != rest) return std::nullopt;
    return FileBytes(std::move(data), size);
}

std::FILE* PictureFile::Stream() {
    std::rewind(file_.get());
    return file_.get();
}

}  // namespace velinor::imageio
