#include "render/Composite.h"

#include <algorithm>
#include <optional>

#include "render/Blend.h"

namespace velinor::render {
namespace {

std::size_t Index(const RasterImage& image, int x, int y) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + static_cast<std::size_t>(x);
}

// Drawing an image onto itself at an offset would read pixels it has already overwritten;
// such a call works from a snapshot instead.
const RasterImage& Detached(const RasterImage& source, const RasterImage& target,
                            std::optional<RasterImage>& snapshot) {
    if (&source != &target) return source;
    snapshot.emplace(source);
    return *snapshot;
}

template <typename RowOp>
void ForEachRow(RasterImage& target, const RasterImage& source, int x, int y, RowOp op) {
    const Overlap o = ClipPlacement(source, target, x, y);
    if (o.Empty()) return;
    std::optional<RasterImage> snapshot;
    const RasterImage& src = Detached(source, target, snapshot);
    for (int j = 0; j < o.height; ++j) {
        const std::size_t s = Index(src, o.sx, o.sy + j);
        op(src, s, &target.pixels[Index(target, o.tx, o.ty + j)], static_cast<std::size_t>(o.width));
    }
}

}  // namespace

Overlap ClipPlacement(const RasterImage& source, const RasterImage& target, int x, int y) {
    // 64-bit arithmetic: x + width may exceed int for far-away placements.
    const long long left = std::max<long long>(x, 0);
    const long long top = std::max<long long>(y, 0);
    const long long right = std::min<long long>(static_cast<long long>(x) + source.width, target.width);
    const long long bottom = std::min<long long>(static_cast<long long>(y) + source.height, target.height);
    Overlap o;
    if (right <= left || bottom <= top) return o;
    o.tx = static_cast<int>(left);
    o.ty = static_cast<int>(top);
    o.sx = static_cast<int>(left - x);
    o.sy = static_cast<int>(top - y);
    o.width = static_cast<int>(right - left);
    o.height = static_cast<int>(bottom - top);
    return o;
}

void PasteOnto(RasterImage& target, const RasterImage& source, int x, int y) {
    ForEachRow(target, source, x, y, [](const RasterImage& src, std::size_t s, Color* t, std::size_t n) {
        if (src.IsIcon()) {
            MaskRow(&src.pixels[s], &src.mask[s], t, n);
        } else {
            std::copy_n(&src.pixels[s], n, t);
        }
    });
}

void BlendOnto(RasterImage& target, const RasterImage& source, int x, int y, int opacity) {
    const auto a = static_cast<std::uint32_t>(opacity) & 0xFFu;
    if (a == 0) return;
    ForEachRow(target, source, x, y, [a](const RasterImage& src, std::size_t s, Color* t, std::size_t n) {
        if (src.IsIcon()) {
            BlendMaskedRow(&src.pixels[s], &src.mask[s], t, n, a);
        } else if (a == 255) {
            std::copy_n(&src.pixels[s], n, t);
        } else {
            BlendRow(&src.pixels[s], t, n, a);
        }
    });
}

void KeyOnto(RasterImage& target, const RasterImage& source, int x, int y, Color key) {
    ForEachRow(target, source, x, y, [key](const RasterImage& src, std::size_t s, Color* t, std::size_t n) {
        if (src.IsIcon()) {
            KeyMaskedRow(&src.pixels[s], &src.mask[s], t, n, key);
        } else {
            KeyRow(&src.pixels[s], t, n, key);
        }
    });
}

}  // namespace velinor::render
