#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "imageio/PictureMetadata.h"
#include "imageio/RowWatcher.h"
#include "render/ImageRegistry.h"
#include "render/RasterImage.h"

namespace velinor::app {

// The last picture decoded for editing, kept so that a render can reload the picture being
// edited by copying pixels instead of decoding the file again. It is used only while the file
// on disk is the one it was decoded from (same path, device, inode, size and modification time);
// a file changed since is decoded afresh, so a reload always shows what is on disk.
class PictureCache {
public:
    // Frees number and fills it with the picture of path, copied from the kept picture when the
    // file is unchanged, else decoded afresh (and kept); number holding the unchanged picture
    // lent by Open is left as it is. Null when the file gives no picture.
    render::ImageHandle Load(render::ImageRegistry& images, int number, const std::string& path);

    // Decodes path afresh into number, as opening a picture does; number keeps what it held
    // when the file gives no picture. The decoded
    // picture is lent to number instead of copied: the next Load of the same file into the same
    // number, while number still holds that image, copies it into the cache and leaves it where
    // it is, so opening costs no copy and the first render no more than any other. Whoever draws
    // on the image under number loads it first. Null when the file gives no picture.
    // A watcher sees the rows as they are decoded (see DecodePictureFile); the file's metadata
    // goes to metadata when it is given.
    const render::RasterImage* Open(render::ImageRegistry& images, int number, const std::string& path,
                                    imageio::RowWatcher* watcher = nullptr,
                                    imageio::PictureMetadata* metadata = nullptr);

    void Clear();

    // The colour profile of the kept picture, for the copies of it the window shows; empty when
    // the picture carries none. It goes with the picture: every decode replaces it, Clear drops it.
    std::span<const std::uint8_t> DisplayProfile() const { return displayProfile_; }

private:
    struct FileKey {
        std::string path;
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
        bool operator==(const FileKey&) const = default;
    };
    static std::optional<FileKey> KeyOf(const std::string& path);

    // Decodes path afresh whatever is kept, and keeps it. Null when the file gives no picture
    // (the kept picture is then dropped).
    const render::RasterImage* Refresh(const std::string& path);

    // Decodes path for keeping, with the colour profile it carries; its metadata goes to metadata
    // when it is given.
    std::optional<render::RasterImage> Decode(const std::string& path, imageio::RowWatcher* watcher,
                                              imageio::PictureMetadata* metadata);

    // The decoded picture lent to a number by Open, known by the number, its serial and its size
    // (scaling in place keeps the serial).
    struct Lent {
        int number = 0;
        std::uint64_t serial = 0;
        int width = 0;
        int height = 0;
    };

    FileKey key_;
    std::optional<render::RasterImage> picture_;
    std::optional<Lent> lent_;
    std::vector<std::uint8_t> displayProfile_;
};

}  // namespace velinor::app
