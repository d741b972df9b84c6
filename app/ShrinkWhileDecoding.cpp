#include "app/ShrinkWhileDecoding.h"

#include <new>
#include <utility>

namespace velinor::app {

void ShrinkWhileDecoding::Begin(int width, int height) {
    rows_.reset();
    width_ = width;
    height_ = height;
    const auto [shownWidth, shownHeight] = FitToBox(width, height, rule_);
    if ((shownWidth == width && shownHeight == height) || !render::ValidImageSize(shownWidth, shownHeight)) return;
    try {
        rows_.emplace(width, height, shownWidth, shownHeight);
    } catch (const std::bad_alloc&) {
        rows_.reset();  // the caller shrinks the decoded picture instead
    }
}

void ShrinkWhileDecoding::Rows(const render::Color* rows, int count) {
    if (rows_) rows_->Add(rows, count);
}

render::ImageHandle ShrinkWhileDecoding::StoreShown(render::ImageRegistry& images, int source, int number) {
    const render::RasterImage* decoded = images.Find(source);
    if (decoded == nullptr) return nullptr;
    const auto [width, height] = FitToBox(decoded->width, decoded->height, rule_);
    render::ImageHandle shown = nullptr;
    if ((width != decoded->width || height != decoded->height) && render::ValidImageSize(width, height)) {
        const bool seen = rows_ && rows_->Complete() && decoded->width == width_ && decoded->height == height_ &&
                          !decoded->IsIcon();
        try {
            render::RasterImage shrunk = seen ? rows_->Finish() : render::ScaleHalftone(*decoded, width, height);
            shrunk.depth = decoded->depth;
            shown = images.StoreImage(number, std::move(shrunk));
        } catch (const std::bad_alloc&) {
            shown = nullptr;
        }
        rows_.reset();
    }
    return shown != nullptr ? shown : images.CloneImage(source, number);
}

}  // namespace velinor::app
