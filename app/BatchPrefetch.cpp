#include "app/BatchPrefetch.h"

#include <sched.h>

#include <utility>

#include "imageio/Loader.h"

namespace velinor::app {

PicturePrefetch::PicturePrefetch(bool enabled) : enabled_(enabled) {}

PicturePrefetch::~PicturePrefetch() { Stop(); }

void PicturePrefetch::Stop() {
    if (pending_.valid()) pending_.wait();
    pending_ = {};
    path_.clear();
}

void PicturePrefetch::Start(const std::string& path) {
    Stop();
    if (!enabled_) return;
    path_ = path;
    pending_ = std::async(std::launch::async, [path] { return imageio::DecodePictureFile(path); });
}

render::ImageHandle PicturePrefetch::Load(render::ImageRegistry& images, int number, const std::string& path) {
    // Another picture decoding ahead is left running: it may be the one asked for next.
    if (!pending_.valid() || path != path_) return imageio::LoadPicture(images, number, path);
    std::optional<render::RasterImage> picture = pending_.get();
    path_.clear();
    images.DropImage(number);
    if (!picture) {
        images.SelectImage(number);
        return nullptr;
    }
    return images.StoreImage(number, std::move(*picture));
}

bool PicturePrefetch::SeveralProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) != 0) return false;
    return CPU_COUNT(&set) > 1;
}

}  // namespace velinor::app
