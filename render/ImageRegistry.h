#pragma once

#include <memory>
#include <vector>

#include "render/RasterImage.h"

namespace velinor::render {

// A handle is the image record itself; it stays valid while its number holds that image
// (ScaleImage replaces the pixels in place, so the handle survives it). Null means failure.
using ImageHandle = RasterImage*;

// The numbered images of the program and the current image. Starts with the empty slots 0..10;
// creating an image under a number at least as high as the highest slot grows the table so
// that number + 10 becomes the highest slot. Every creating operation frees what the number
// held first, and makes the number current.
class ImageRegistry {
public:
    ImageRegistry();

    ImageHandle NewImage(int number, int width, int height);
    // Stores a decoded or computed image under number (loaders use this).
    ImageHandle StoreImage(int number, RasterImage image);
    ImageHandle CloneImage(int source, int destination);
    ImageHandle ScaleImage(int number, int width, int height);
    void DropImage(int number);
    bool HasImage(int number) const;
    ImageHandle SelectImage(int number);

    // The image under number without touching the current image; null when empty.
    ImageHandle Find(int number) const;

    // Queries of the current image; 0 when it is empty.
    int ImageWidth() const;
    int ImageHeight() const;
    int ImageDepth() const;
    ImageHandle CurrentHandle() const;
    int CurrentNumber() const { return current_; }

    int HighestSlot() const { return static_cast<int>(slots_.size()) - 1; }

private:
    bool EnsureSlot(int number);

    std::vector<std::unique_ptr<RasterImage>> slots_;
    int current_ = -1;
};

}  // namespace velinor::render
