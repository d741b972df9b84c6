#include "render/ImageRegistry.h"

#include <algorithm>
#include <new>
#include <optional>

#include "render/PixelStore.h"
#include "render/Scale.h"

namespace velinor::render {

namespace {
constexpr int kInitialHighestSlot = 10;
constexpr int kGrowthMargin = 10;

std::size_t PixelCount(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// A copy of source in a record of its own; null when memory runs out.
std::unique_ptr<RasterImage> CopyRecord(const RasterImage& source) {
    std::optional<RasterImage> copy = CopyImage(source);
    if (!copy) return nullptr;
    try {
        return std::make_unique<RasterImage>(std::move(*copy));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
}  // namespace

ImageRegistry::ImageRegistry() : slots_(kInitialHighestSlot + 1) {}

bool ImageRegistry::EnsureSlot(int number) {
    if (number < 0 || number > kMaxNumber) return false;
    if (number >= HighestSlot()) {
        try {
            slots_.resize(static_cast<std::size_t>(number) + kGrowthMargin + 1);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    return true;
}

// Frees what number held, makes it current and stores image there (or, for the temporary
// number, keeps it outside the table). A null image leaves the slot empty.
ImageHandle ImageRegistry::Install(int number, std::unique_ptr<RasterImage> image) {
    RasterImage* raw = image.get();
    if (number == kTemporaryImage) {
        if (raw == nullptr) return nullptr;
        try {
            temporaries_.push_back(Entry{std::move(image), ++lastSerial_});
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        current_ = kTemporaryImage;
        currentTemporary_ = raw;
        return raw;
    }
    if (!EnsureSlot(number)) return nullptr;
    Entry& entry = slots_[static_cast<std::size_t>(number)];
    entry.serial = raw != nullptr ? ++lastSerial_ : 0;
    entry.image = std::move(image);
    current_ = number;
    return raw;
}

ImageHandle ImageRegistry::NewImage(int number, int width, int height) {
    DropImage(number);
    std::unique_ptr<RasterImage> image;
    if (ValidImageSize(width, height)) {
        try {
            image = std::make_unique<RasterImage>();
            image->width = width;
            image->height = height;
            image->pixels = MakePixels(PixelCount(width, height), kBlack);
        } catch (const std::bad_alloc&) {
            image.reset();  // the platform could not make the bitmap: the slot stays empty
        }
    }
    return Install(number, std::move(image));
}

ImageHandle ImageRegistry::StoreImage(int number, RasterImage image) {
    DropImage(number);
    const std::size_t count = PixelCount(image.width, image.height);
    std::unique_ptr<RasterImage> stored;
    if (ValidImageSize(image.width, image.height) && image.pixels.size() == count &&
        (!image.IsIcon() || image.mask.size() == count)) {
        try {
            stored = std::make_unique<RasterImage>(std::move(image));
        } catch (const std::bad_alloc&) {
            stored.reset();
        }
    }
    return Install(number, std::move(stored));
}

ImageHandle ImageRegistry::CloneImage(int source, int destination) {
    const RasterImage* src = Find(source);
    if (src == nullptr) return nullptr;
    if (source == destination) {
        current_ = destination;
        return slots_[static_cast<std::size_t>(destination)].image.get();
    }
    std::unique_ptr<RasterImage> copy = CopyRecord(*src);  // copied before the destination is freed
    if (copy == nullptr) return nullptr;
    DropImage(destination);
    return Install(destination, std::move(copy));
}

ImageHandle ImageRegistry::CloneImage(ImageHandle temporarySource, int destination) {
    if (!IsTemporary(temporarySource)) return nullptr;
    std::unique_ptr<RasterImage> copy = CopyRecord(*temporarySource);
    if (copy == nullptr) return nullptr;
    DropImage(destination);
    return Install(destination, std::move(copy));
}

ImageHandle ImageRegistry::ScaleInPlace(RasterImage& image, int width, int height) {
    if (!ValidImageSize(width, height)) return nullptr;
    if (image.width == width && image.height == height) return &image;
    try {
        image = ScaleHalftone(image, width, height);
    } catch (const std::bad_alloc&) {
        return nullptr;  // the old pixels are untouched
    }
    return &image;
}

ImageHandle ImageRegistry::ScaleImage(int number, int width, int height) {
    RasterImage* image = Find(number);
    if (image == nullptr) return nullptr;
    current_ = number;
    return ScaleInPlace(*image, width, height);
}

ImageHandle ImageRegistry::ScaleImage(ImageHandle temporary, int width, int height) {
    if (!IsTemporary(temporary)) return nullptr;
    current_ = kTemporaryImage;
    currentTemporary_ = temporary;
    return ScaleInPlace(*temporary, width, height);
}

void ImageRegistry::DropImage(int number) {
    if (number < 0 || number > HighestSlot()) return;
    slots_[static_cast<std::size_t>(number)] = Entry{};
}

void ImageRegistry::DropImage(ImageHandle temporary) {
    auto found = std::find_if(temporaries_.begin(), temporaries_.end(),
                              [temporary](const Entry& owned) { return owned.image.get() == temporary; });
    if (found == temporaries_.end()) return;
    if (current_ == kTemporaryImage && currentTemporary_ == temporary) currentTemporary_ = nullptr;
    temporaries_.erase(found);
}

bool ImageRegistry::IsTemporary(const RasterImage* image) const {
    if (image == nullptr) return false;
    return std::any_of(temporaries_.begin(), temporaries_.end(),
                       [image](const Entry& owned) { return owned.image.get() == image; });
}

std::uint64_t ImageRegistry::Serial(int number) const {
    if (number < 0 || number > HighestSlot()) return 0;
    return slots_[static_cast<std::size_t>(number)].serial;
}

std::uint64_t ImageRegistry::Serial(const RasterImage* temporary) const {
    for (const Entry& owned : temporaries_) {
        if (temporary != nullptr && owned.image.get() == temporary) return owned.serial;
    }
    return 0;
}

bool ImageRegistry::HasImage(int number) const { return Find(number) != nullptr; }

ImageHandle ImageRegistry::SelectImage(int number) {
    if (number < 0 || number > HighestSlot()) return nullptr;
    current_ = number;
    return slots_[static_cast<std::size_t>(number)].image.get();
}

ImageHandle ImageRegistry::SelectImage(ImageHandle temporary) {
    if (!IsTemporary(temporary)) return nullptr;
    current_ = kTemporaryImage;
    currentTemporary_ = temporary;
    return temporary;
}

ImageHandle ImageRegistry::Find(int number) const {
    if (number < 0 || number > HighestSlot()) return nullptr;
    return slots_[static_cast<std::size_t>(number)].image.get();
}

ImageHandle ImageRegistry::CurrentHandle() const {
    return current_ == kTemporaryImage ? currentTemporary_ : Find(current_);
}

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
