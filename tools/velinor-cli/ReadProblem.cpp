#include "tools/velinor-cli/ReadProblem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "imageio/FileNames.h"
#include "plugins/PluginApi.h"
#include "plugins/SharedObjectCheck.h"

namespace velinor::tools {

namespace {

constexpr std::size_t kHeadBytes = 18;   // enough for every signature and the TGA header

bool StartsWith(const std::array<std::uint8_t, kHeadBytes>& head, std::size_t size, const char* magic,
                std::size_t length) {
    return size >= length && std::memcmp(head.data(), magic, length) == 0;
}

// True for the GIF and PCX signatures under their extensions: pictures the libraries read.
bool LibrarySignature(const std::array<std::uint8_t, kHeadBytes>& head, std::size_t size, const std::string& extension) {
    if ((extension == "gif" || extension == "GIF") && (StartsWith(head, size, "GIF87a", 6) || StartsWith(head, size, "GIF89a", 6))) {
        return true;
    }
    return (extension == "pcx" || extension == "PCX") && size >= 1 && head[0] == 0x0A;
}

// True when the first bytes are those of a format the picture loader (or, for a logo, the
// library its extension selects) reads; the file then failed because it is cut short or damaged.
bool KnownSignature(const std::array<std::uint8_t, kHeadBytes>& head, std::size_t size, const std::string& extension,
                    bool logo) {
    if (StartsWith(head, size, "BM", 2) || StartsWith(head, size, "\x89PNG\r\n\x1a\n", 8) ||
        StartsWith(head, size, "\xff\xd8\xff", 3) || StartsWith(head, size, "\0\0\1\0", 4)) {
        return true;
    }
    // A TGA file has no signature: no colour map, and image type 2 or 10 (true colour).
    if (size >= kHeadBytes && head[1] == 0 && (head[2] == 2 || head[2] == 10)) return true;
    return logo && LibrarySignature(head, size, extension);
}

// The library a logo of this extension is read through; empty for the picture loader.
const char* LibraryFor(const std::string& extension) {
    if (extension == "gif" || extension == "GIF" || extension == "ico" || extension == "ICO") return VELINOR_IMAGE323_PATH;
    if (extension == "pcx" || extension == "PCX") return VELINOR_NVIEWLIB_PATH;
    return "";
}

}  // namespace

std::string ReadProblem(const std::string& path, bool logo) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) return "no such file";
        if (errno == EACCES) return "permission denied";
        return std::strerror(errno);
    }
    if (S_ISDIR(info.st_mode)) return "is a folder";
    if (!S_ISREG(info.st_mode)) return "is not a regular file";
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return errno == EACCES ? "permission denied" : std::strerror(errno);
    std::array<std::uint8_t, kHeadBytes> head{};
    const ssize_t got = ::read(fd, head.data(), head.size());
    ::close(fd);
    const std::size_t size = got > 0 ? static_cast<std::size_t>(got) : 0;

    const std::string extension = imageio::ExtensionPart(path);
    const char* library = logo ? LibraryFor(extension) : "";
    if (*library != '\0' && !plugins::IsSoundSharedObject(library)) {
        return "cannot be read: the picture libraries were not found in ./data/ (or are damaged)";
    }
    if (size == 0) return "is empty, not a picture Velinor reads";
    if (!logo && LibrarySignature(head, size, extension)) return "is read only as a logo (give --logo)";
    if (!KnownSignature(head, size, extension, logo)) return "is not a picture Velinor reads";
    return "is truncated or damaged";
}

}  // namespace velinor::tools
