#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "render/RasterImage.h"

namespace velinor::render {

// A handle is the image record itself; it stays valid while its number holds that image
// (ScaleImage replaces the pixels in place, so the handle survives it). Null means failure.
using ImageHandle = RasterImage*;

// The number that stands for "no number": an image created under it lives outside the table
// (a temporary), and the creating operation returns the record, which later operations take in
// place of a number.
constexpr int kTemporaryImage = -1;

// The numbered images of the program and the current image. Starts with the empty slots 0..10;
// creating an image under a number at least as high as the highest slot grows the table so
// that number + 10 becomes the highest slot. Every creating operation frees what the number
// held first, and makes the number current.
class ImageRegistry {
public:
    // Numbers above this are refused: the table is dense, and a stray huge number would
    // otherwise ask for gigabytes of empty slots.
    static constexpr int kMaxNumber = 1 << 20;

    ImageRegistry();

    ImageHandle NewImage(int number, int width, int height);
    // Stores a decoded or computed image under number (loaders use this).
    ImageHandle StoreImage(int number, RasterImage image);
    ImageHandle CloneImage(int source, int destination);
    ImageHandle ScaleImage(int number, int width, int height);
    void DropImage(int number);
    bool HasImage(int number) const;
    ImageHandle SelectImage(int number);

    // The same operations on a temporary image (one created under kTemporaryImage).
    // A handle that is not a live temporary is ignored (null result, no effect).
    ImageHandle CloneImage(ImageHandle temporarySource, int destination);
    ImageHandle ScaleImage(ImageHandle temporary, int width, int height);
    void DropImage(ImageHandle temporary);
    ImageHandle SelectImage(ImageHandle temporary);
    bool IsTemporary(const RasterImage* image) const;

    // A number that identifies the image the number (or temporary) holds now: every creating
    // operation hands out a new one, so a holder of an old serial can tell that its image has
    // been freed or replaced even when the new one reuses the old address. 0 when empty.
    std::uint64_t Serial(int number) const;
    std::uint64_t Serial(const RasterImage* temporary) const;

    // The image under number without touching the current image; null when empty.
    ImageHandle Find(int number) const;

    // Queries of the current image; 0 when it is empty.
    int ImageWidth() const;
    int ImageHeight() const;
    int ImageDepth() const;
    ImageHandle CurrentHandle() const;
    // kTemporaryImage while a temporary image is current.
    int CurrentNumber() const { return current_; }

    int HighestSlot() const { return static_cast<int>(slots_.size()) - 1; }

private:
    bool EnsureSlot(int number);
    ImageHandle Install(int number, std::unique_ptr<RasterImage> image);
    ImageHandle ScaleInPlace(RasterImage& image, int width, int height);

    struct Entry {
        std::unique_ptr<RasterImage> image;
        std::uint64_t serial = 0;
    };

    std::vector<Entry> slots_;
    std::vector<Entry> temporaries_;
    std::uint64_t lastSerial_ = 0;
    int current_ = -1;
    RasterImage* currentTemporary_ = nullptr;  // meaningful only while current_ is kTemporaryImage
};

}  // namespace velinor::render
