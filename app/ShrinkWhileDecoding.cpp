#include "app/ShrinkWhileDecoding.h"

#include <new>

namespace velinor::app {

void ShrinkWhileDecoding::Begin(int width, int height) {
    rows_.reset();
    width_ = width;
    height_ = height;
    const auto [shownWidth, shownHeight] = sizeFor_(width, height);
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

std::optional<render::RasterImage> ShrinkWhileDecoding::Take(const render::RasterImage& decoded) {
    if (!rows_ || !rows_->Complete() || decoded.width != width_ || decoded.height != height_ || decoded.IsIcon()) {
        return std::nullopt;
    }
    render::RasterImage shrunk = rows_->Finish();
    shrunk.depth = decoded.depth;
    rows_.reset();
    return shrunk;
}

}  // namespace velinor::app
