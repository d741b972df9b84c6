#pragma once

#include <optional>

#include "app/PictureFit.h"
#include "imageio/RowWatcher.h"
#include "render/ImageRegistry.h"
#include "render/RasterImage.h"
#include "render/Scale.h"

namespace velinor::app {

// Shrinks a picture being opened to its display size from its rows as they are decoded, instead
// of reading the whole decoded picture again afterwards: the same pixels as ScaleHalftone of the
// decoded picture, for a fraction of the memory traffic.
class ShrinkWhileDecoding : public imageio::RowWatcher {
public:
    // rule gives the display size of a picture of the size being decoded.
    explicit ShrinkWhileDecoding(const FitRule& rule) : rule_(rule) {}

    void Begin(int width, int height) override;
    void Rows(const render::Color* rows, int count) override;

    // Stores under number the decoded picture held by source, at its display size: shrunk from
    // the rows seen here when every row of it came through (a JPEG photo kept upright), else
    // shrunk now; a copy when it is shown at its own size or the shrunk one finds no memory.
    render::ImageHandle StoreShown(render::ImageRegistry& images, int source, int number);

private:
    FitRule rule_;
    int width_ = 0;
    int height_ = 0;
    std::optional<render::HalftoneRows> rows_;
};

}  // namespace velinor::app
