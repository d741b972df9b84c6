#include "app/RenderCycle.h"

#include <new>
#include <optional>
#include <utility>

#include "app/DisplayCopy.h"
#include "app/ShrinkWhileDecoding.h"
#include "app/ImageNumbers.h"
#include "render/PixelStore.h"
#include "render/Scale.h"

namespace velinor::app {

namespace {

using platform::ControlId;

// Centre of the 255 x 225 preview boxes.
constexpr int kPreviewCentreX = 127;
constexpr int kPreviewCentreY = 112;

void PlaceCentred(platform::Platform& p, const render::RasterImage& image,
                  std::initializer_list<ControlId> controls) {
    for (ControlId control : controls) {
        p.SetControlImage(control, &image);
        p.ResizeControl(control, {kPreviewCentreX - image.width / 2, kPreviewCentreY - image.height / 2,
                                  image.width, image.height});
    }
}

}  // namespace

void FitPreview(ProgramState& state, int number, std::initializer_list<ControlId> controls) {
    render::RasterImage* image = state.images.SelectImage(number);
    if (image == nullptr) return;
    const FittedSize size = PreviewSize(image->width, image->height);
    // A size the registry refuses (a very wide sliver) leaves the picture as it is.
    if (size.width != image->width || size.height != image->height) {
        state.images.ScaleImage(number, size.width, size.height);
    }
    PlaceCentred(state.platform, *image, controls);
}

void ShowCentred(ProgramState& state, int number, std::initializer_list<ControlId> controls) {
    const render::RasterImage* image = state.images.Find(number);
    if (image != nullptr) PlaceCentred(state.platform, *image, controls);
}

bool ShowOpenedPicture(ProgramState& state) {
    // Opening always decodes the file afresh, into the working copy, where the cache keeps it for
    // the renders; the displayed picture is shrunk from its rows as they are decoded, or else
    // straight from it: the same pictures as loading the displayed picture, copying it and
    // shrinking it in place. A file that does not decode leaves the pictures shown as they were.
    ShrinkWhileDecoding shrinker(kPreviewFit);
    imageio::PictureMetadata metadata;
    const render::RasterImage* decoded =
        state.pictureCache.Open(state.images, pic::PicWork, state.shell.CurrentFile, &shrinker, &metadata);
    if (decoded == nullptr) return false;
    state.shell.CurrentMetadata = std::move(metadata);
    state.images.DropImage(pic::PicOpened);
    if (render::RasterImage* shown = shrinker.StoreShown(state.images, pic::PicWork, pic::PicOpened)) {
        ShowInSrgb(*shown, state.pictureCache.DisplayProfile());
    }
    ShowCentred(state, pic::PicOpened, {ControlId::ImgSource, ControlId::ImgPreview});
    state.images.SelectImage(pic::PicOpened);
    return true;
}

render::RasterImage* ReloadWork(ProgramState& state) {
    return state.pictureCache.Load(state.images, pic::PicWork, state.shell.CurrentFile);
}

bool PublishWork(ProgramState& state) {
    const render::RasterImage* work = state.images.Find(pic::PicWork);
    if (work == nullptr) return false;
    // The preview is shrunk straight from the working copy: the same pixels as copying it full
    // size and shrinking the copy, without a third full-size picture in memory.
    const FittedSize size = PreviewSize(work->width, work->height);
    std::optional<render::RasterImage> preview;
    if (size.width == work->width && size.height == work->height) {
        preview = render::CopyImage(*work);
    } else if (render::ValidImageSize(size.width, size.height)) {
        try {
            preview = render::ScaleHalftone(*work, size.width, size.height);
        } catch (const std::bad_alloc&) {
            preview.reset();
        }
    } else {
        preview = render::CopyImage(*work);
    }
    if (preview) {
        ShowInSrgb(*preview, state.pictureCache.DisplayProfile());
        state.images.StoreImage(pic::PicPreview, std::move(*preview));
    } else {
        state.images.DropImage(pic::PicPreview);
    }
    // The old result goes before the copy, so at most three full-size pictures (the kept
    // decode, the working copy and the result) are alive at once.
    state.images.DropImage(pic::PicResult);
    state.images.CloneImage(pic::PicWork, pic::PicResult);
    ShowCentred(state, pic::PicPreview, {ControlId::ImgPreview});
    state.images.SelectImage(pic::PicPreview);
    return true;
}

RenderOutcome RenderCycle(ProgramState& state, const RenderEffect& effect) {
    render::RasterImage* work = ReloadWork(state);
    if (work == nullptr) return RenderOutcome::NoPicture;
    if (effect && !effect(*work)) return RenderOutcome::Stopped;
    PublishWork(state);
    return RenderOutcome::Published;
}

}  // namespace velinor::app
