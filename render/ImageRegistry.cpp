#include "render/ImageRegistry.h"

#include "render/Scale.h"

namespace velinor::render {

namespace {
constexpr int kInitialHighestSlot = 10;
constexpr int kGrowthMargin = 10;
}  // namespace

ImageRegistry::ImageRegistry() : slots_(kInitialHighestSlot + 1) {}

bool ImageRegistry::EnsureSlot(int number) {
    if (number < 0) return false;
    if (number >= HighestSlot()) slots_.resize(static_cast<std::size_t>(number) + kGrowthMargin + 1);
    return true;
}

ImageHandle ImageRegistry::NewImage(int number, int width, int height) {
    if (!EnsureSlot(number)) return nullptr;
    DropImage(number);
    current_ = number;
    if (!ValidImageSize(width, height)) return nullptr;
    auto image = std::make_unique<RasterImage>();
    image->width = width;
    image->height = height;
    image->pixels.assign(static_cast<std::size_t>(width) * height, kBlack);
    slots_[static_cast<std::size_t>(number)] = std::move(image);
    return slots_[static_cast<std::size_t>(number)].get();
}

ImageHandle ImageRegistry::StoreImage(int number, RasterImage image) {
    if (!EnsureSlot(number)) return nullptr;
    DropImage(number);
    current_ = number;
    const std::size_t count = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    if (!ValidImageSize(image.width, image.height) || image.pixels.size() != count ||
        (image.IsIcon() && image.mask.size() != count)) {
        return nullptr;
    }
    slots_[static_cast<std::size_t>(number)] = std::make_unique<RasterImage>(std::move(image));
    return slots_[static_cast<std::size_t>(number)].get();
}

ImageHandle ImageRegistry::CloneImage(int source, int destination) {
    const RasterImage* src = Find(source);
    if (src == nullptr) return nullptr;
    if (source == destination) {
        current_ = destination;
        return slots_[static_cast<std::size_t>(destination)].get();
    }
    RasterImage copy = *src;  // copy before the destination is freed
    return StoreImage(destination, std::move(copy));
}

ImageHandle ImageRegistry::ScaleImage(int number, int width, int height) {
    RasterImage* image = Find(number);
    if (image == nullptr || !ValidImageSize(width, height)) return nullptr;
    current_ = number;
    if (image->width == width && image->height == height) return image;
    *image = ScaleHalftone(*image, width, height);
    return image;
}

void ImageRegistry::DropImage(int number) {
    if (number < 0 || number > HighestSlot()) return;
    slots_[static_cast<std::size_t>(number)].reset();
}

bool ImageRegistry::HasImage(int number) const { return Find(number) != nullptr; }

ImageHandle ImageRegistry::SelectImage(int number) {
    if (number < 0 || number > HighestSlot()) return nullptr;
    current_ = number;
    return slots_[static_cast<std::size_t>(number)].get();
}

ImageHandle ImageRegistry::Find(int number) const {
    if (number < 0 || number > HighestSlot()) return nullptr;
    return slots_[static_cast<std::size_t>(number)].get();
}

ImageHandle ImageRegistry::CurrentHandle() const { return Find(current_); }

int ImageRegistry::ImageWidth() const {
    const RasterImage* image = CurrentHandle();
    return image ? image->width : 0;
}

int ImageRegistry::ImageHeight() const {
    const RasterImage* image = CurrentHandle();
    return image ? image->height : 0;
}

int ImageRegistry::ImageDepth() const {
    const RasterImage* image = CurrentHandle();
    return image ? image->depth : 0;
}

}  // namespace velinor::render
