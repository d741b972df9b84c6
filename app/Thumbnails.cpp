#include "app/Thumbnails.h"

#include "app/DisplayCopy.h"
#include "app/PictureFit.h"
#include "imageio/Loader.h"

namespace velinor::app {

namespace {

using platform::ControlId;

// Resizes number to size, or copies nothing when the size is one the registry cannot hold.
void Resize(ProgramState& state, int number, FittedSize size) {
    const render::RasterImage* image = state.images.Find(number);
    if (image == nullptr || (image->width == size.width && image->height == size.height)) return;
    state.images.ScaleImage(number, size.width, size.height);
}

}  // namespace

void ThumbnailFit(ProgramState& state, int number, std::span<const std::uint8_t> iccProfile) {
    render::RasterImage* image = state.images.Find(number);
    if (image == nullptr) return;
    Resize(state, number, FitToBox(image->width, image->height, kThumbnailFit));
    image = state.images.Find(number);
    ShowInSrgb(*image, iccProfile);
    state.platform.ResizeControl(ControlId::ImgThumb,
                                 {80 - image->width / 2, 70 - image->height / 2, image->width, image->height});
    state.platform.SetControlImage(ControlId::ImgThumb, image);
}

bool ShowThumbnail(ProgramState& state, int number, const std::string& path) {
    imageio::LoadFailure failure;
    imageio::PictureMetadata metadata;
    if (imageio::LoadPicture(state.images, number, path, failure, &metadata) == nullptr) return false;
    ThumbnailFit(state, number, metadata.icc);
    return true;
}

}  // namespace velinor::app
