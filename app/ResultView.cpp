#include "app/ResultView.h"

#include <algorithm>
#include <optional>

#include "app/DisplayCopy.h"
#include "app/ImageNumbers.h"
#include "app/RenderCycle.h"
#include "render/PixelStore.h"

namespace velinor::app {

std::optional<platform::Rect> DifferenceBounds(const render::RasterImage& a, const render::RasterImage& b) {
    if (a.width != b.width || a.height != b.height || a.width <= 0 || a.height <= 0) return std::nullopt;
    int left = a.width, top = a.height, right = -1, bottom = -1;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            if (((a.At(x, y) ^ b.At(x, y)) & 0xFFFFFFu) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return std::nullopt;
    return platform::Rect{left, top, right - left + 1, bottom - top + 1};
}

void ShowResultFullSize(ProgramState& state) {
    const render::RasterImage* result = state.images.Find(pic::PicResult);
    if (result == nullptr) return;
    platform::Point centre{result->width / 2, result->height / 2};
    // The working copy is reloaded before every render, so it may hold the unmarked picture
    // meanwhile; the cache keeps the decode, so this costs a copy, not a decode.
    if (const render::RasterImage* original = ReloadWork(state)) {
        if (const auto changed = DifferenceBounds(*original, *result)) {
            centre = {changed->x + changed->width / 2, changed->y + changed->height / 2};
        }
    }
    std::optional<render::RasterImage> shown = render::CopyImage(*result);
    if (!shown) return;
    ShowInSrgb(*shown, state.pictureCache.DisplayProfile());
    state.platform.PictureView(state.texts[kTextPreview] + " 100 %", *shown, centre);
}

}  // namespace velinor::app
