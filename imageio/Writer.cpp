#include "imageio/Writer.h"

#include <dirent.h>

#include <array>

#include "imageio/AtomicFile.h"
#include "imageio/BgrBuffer.h"
#include "imageio/BmpWriter.h"
#include "imageio/JpegWriter.h"
#include "imageio/PngWriter.h"

namespace velinor::imageio {
namespace {

using WriteOperation = bool (*)(std::FILE* file, const BgrBuffer& buffer, int quality);

struct EncoderEntry {
    std::uint32_t code;
    WriteOperation write;
};

bool WritePngIgnoringQuality(std::FILE* file, const BgrBuffer& buffer, int) { return WritePng(file, buffer); }

// Looked up in order, first equal code wins. BMP is not in the table: SavePicture writes it
// itself.
constexpr std::array<EncoderEntry, 2> kEncoders{{
    {kEncoderJpeg, WriteJpeg},
    {kEncoderPng, WritePngIgnoringQuality},
}};

WriteOperation FindEncoder(std::uint32_t code) {
    if (code == kEncoderBmp) return [](std::FILE* file, const BgrBuffer& buffer, int) { return WriteBmp(file, buffer); };
    for (const EncoderEntry& entry : kEncoders) {
        if (entry.code == code) return entry.write;
    }
    return nullptr;
}

}  // namespace

int SavePicture(const render::RasterImage* image, const std::string& path, std::uint32_t encoder, int quality) {
    if (image == nullptr || path.empty()) return 0;
    const WriteOperation write = FindEncoder(encoder);
    if (write == nullptr) return 0;
    const std::optional<BgrBuffer> buffer = MakeBgrBuffer(*image);
    if (!buffer) return 0;

    AtomicFile file(path);
    if (!file.IsOpen()) return 0;
    if (!write(file.Stream(), *buffer, quality)) return 0;  // the temporary file goes with `file`
    return file.Commit() ? 1 : 0;
}

int SavePicture(const render::ImageRegistry& images, int number, const std::string& path, std::uint32_t encoder,
                int quality) {
    return SavePicture(images.Find(number), path, encoder, quality);
}

int FileExistsInFolder(const std::string& name, const std::string& folder) {
    if (folder.empty()) return 0;
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) return 0;
    int found = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (name == entry->d_name) found = 1;
    }
    ::closedir(listing);
    return found;
}

}  // namespace velinor::imageio
