#include "imageio/FileBytes.h"

#include <fstream>

#include "imageio/RegularFile.h"

namespace velinor::imageio {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path,
                                                       std::uintmax_t max_bytes) {
    if (!IsRegularFile(path)) return std::nullopt;   // a FIFO or device would block or never end
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > max_bytes) return std::nullopt;
    file.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return bytes;
}

}  // namespace velinor::imageio
