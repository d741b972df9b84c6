#pragma once

#include <functional>
#include <optional>
#include <utility>

#include "imageio/RowWatcher.h"
#include "render/RasterImage.h"
#include "render/Scale.h"

namespace velinor::app {

// Shrinks a picture being opened to its display size from its rows as they are decoded, instead
// of reading the whole decoded picture again afterwards: the same pixels as ScaleHalftone of the
// decoded picture, for a fraction of the memory traffic.
class ShrinkWhileDecoding : public imageio::RowWatcher {
public:
    // The display size (width, height) of a picture of the given size.
    using SizeFor = std::function<std::pair<int, int>(int width, int height)>;

    explicit ShrinkWhileDecoding(SizeFor sizeFor) : sizeFor_(std::move(sizeFor)) {}

    void Begin(int width, int height) override;
    void Rows(const render::Color* rows, int count) override;

    // The shrunk picture of decoded when every row of it went through here; nothing otherwise
    // (another format, a turned photo, a picture shown at its own size), and the caller shrinks
    // decoded itself.
    std::optional<render::RasterImage> Take(const render::RasterImage& decoded);

private:
    SizeFor sizeFor_;
    int width_ = 0;
    int height_ = 0;
    std::optional<render::HalftoneRows> rows_;
};

}  // namespace velinor::app
