#include "app/PictureCache.h"

#include <sys/stat.h>

#include <utility>

#include "imageio/Loader.h"
#include "render/PixelStore.h"

namespace velinor::app {

std::optional<PictureCache::FileKey> PictureCache::KeyOf(const std::string& path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    FileKey key;
    key.path = path;
    key.device = static_cast<std::uint64_t>(info.st_dev);
    key.inode = static_cast<std::uint64_t>(info.st_ino);
    key.size = static_cast<std::uint64_t>(info.st_size);
    key.modifiedSeconds = static_cast<std::int64_t>(info.st_mtim.tv_sec);
    key.modifiedNanoseconds = static_cast<std::int64_t>(info.st_mtim.tv_nsec);
    return key;
}

std::optional<render::RasterImage> PictureCache::Decode(const std::string& path, imageio::RowWatcher* watcher,
                                                        imageio::PictureMetadata* metadata) {
    imageio::PictureMetadata read;
    imageio::PictureMetadata& target = metadata != nullptr ? *metadata : read;
    std::optional<render::RasterImage> decoded = imageio::DecodePictureFile(path, watcher, &target).image;
    displayProfile_ = target.icc;
    return decoded;
}

const render::RasterImage* PictureCache::Refresh(const std::string& path) {
    Clear();
    // The key is taken before decoding: a file rewritten while it is read then differs from the
    // key at the next load and is decoded again.
    std::optional<FileKey> key = KeyOf(path);
    if (!key) return nullptr;
    picture_ = Decode(path, nullptr, nullptr);
    if (!picture_) return nullptr;
    key_ = std::move(*key);
    return &*picture_;
}

const render::RasterImage* PictureCache::Open(render::ImageRegistry& images, int number, const std::string& path,
                                              imageio::RowWatcher* watcher, imageio::PictureMetadata* metadata) {
    Clear();
    if (metadata != nullptr) *metadata = {};
    std::optional<FileKey> key = KeyOf(path);
    if (!key) return nullptr;
    std::optional<render::RasterImage> decoded = Decode(path, watcher, metadata);
    if (!decoded) return nullptr;
    const render::ImageHandle stored = images.StoreImage(number, std::move(*decoded));
    if (stored == nullptr) return nullptr;
    key_ = std::move(*key);
    lent_ = Lent{number, images.Serial(number), stored->width, stored->height};
    return stored;
}

render::ImageHandle PictureCache::Load(render::ImageRegistry& images, int number, const std::string& path) {
    const std::optional<FileKey> key = KeyOf(path);
    render::ImageHandle lent = lent_ && lent_->number == number ? images.Find(number) : nullptr;
    if (lent != nullptr && key && *key == key_ && images.Serial(number) == lent_->serial &&
        lent->width == lent_->width && lent->height == lent_->height) {
        // The lent picture is still as decoded, which is what this load would store again.
        picture_ = render::CopyImage(*lent);
        lent_.reset();
        if (!picture_) Clear();
        return lent;
    }
    images.DropImage(number);
    const render::RasterImage* kept = nullptr;
    if (picture_ && key && *key == key_) {
        kept = &*picture_;
    } else {
        kept = Refresh(path);
    }
    if (kept == nullptr) return nullptr;
    std::optional<render::RasterImage> copy = render::CopyImage(*kept);
    if (!copy) return nullptr;
    return images.StoreImage(number, std::move(*copy));
}

void PictureCache::Clear() {
    picture_.reset();
    lent_.reset();
    key_ = FileKey{};
    displayProfile_.clear();
}

}  // namespace velinor::app
