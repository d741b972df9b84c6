#include "app/PicturePrefetch.h"

#include <sched.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

#include "imageio/Loader.h"
#include "runtime/ThreadSignalStack.h"

namespace velinor::app {

namespace {

render::ImageHandle LoadPictureWithMetadata(render::ImageRegistry& images, int number, const std::string& path,
                                            imageio::PictureMetadata* metadata) {
    imageio::LoadFailure failure;
    return imageio::LoadPicture(images, number, path, failure, metadata);
}

}  // namespace

PicturePrefetch::PicturePrefetch(bool enabled) : enabled_(enabled) {}

PicturePrefetch::~PicturePrefetch() { Stop(); }

void PicturePrefetch::Stop() {
    if (pending_.valid()) pending_.wait();
    pending_ = {};
    path_.clear();
}

std::optional<PicturePrefetch::FileStamp> PicturePrefetch::StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return FileStamp{static_cast<unsigned long long>(info.st_dev), static_cast<unsigned long long>(info.st_ino),
                     static_cast<unsigned long long>(info.st_size), static_cast<long long>(info.st_mtim.tv_sec),
                     static_cast<long long>(info.st_mtim.tv_nsec)};
}

void PicturePrefetch::Start(const std::string& path) {
    Stop();
    if (!enabled_) return;
    const std::optional<FileStamp> stamp = StampOf(path);
    if (!stamp) return;
    path_ = path;
    stamp_ = *stamp;
    pending_ = std::async(std::launch::async, [path] {
        // A fault while decoding ahead reaches the fault report as one on the run's thread does.
        const runtime::ThreadSignalStack signalStack;
        Decoded decoded;
        // A picture beyond the budget is refused at its header and decoded in its own turn,
        // once the picture before it has been freed: the run waits rather than holding both.
        imageio::DecodeLimits ahead;
        ahead.maxPixels = std::min(ahead.maxPixels, kAheadPixels);
        decoded.picture = imageio::DecodePictureFile(path, nullptr, &decoded.metadata, ahead).image;
        return decoded;
    });
}

render::ImageHandle PicturePrefetch::Load(render::ImageRegistry& images, int number, const std::string& path,
                                          imageio::PictureMetadata* metadata) {
    // Another picture decoding ahead is left running: it may be the one asked for next.
    if (!pending_.valid() || path != path_) return LoadPictureWithMetadata(images, number, path, metadata);
    if (StampOf(path) != std::optional<FileStamp>(stamp_)) {
        Stop();
        return LoadPictureWithMetadata(images, number, path, metadata);
    }
    Decoded decoded = pending_.get();
    std::optional<render::RasterImage>& picture = decoded.picture;
    if (metadata != nullptr) *metadata = std::move(decoded.metadata);
    path_.clear();
    images.DropImage(number);
    // A decode ahead may fail only because the previous picture still held its memory then:
    // it is tried again now, with that picture freed, before the failure counts.
    if (!picture) return LoadPictureWithMetadata(images, number, path, metadata);
    return images.StoreImage(number, std::move(*picture));
}

bool PicturePrefetch::SeveralProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) != 0) return false;
    return CPU_COUNT(&set) > 1;
}

}  // namespace velinor::app
