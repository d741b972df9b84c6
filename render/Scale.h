#pragma once

#include <cstdint>
#include <vector>

#include "render/RasterImage.h"

namespace velinor::render {

// Area-average ("halftone") resampling: each destination pixel is the average of the source
// pixels its area covers, weighted by how much of each it covers. An icon's mask is resampled
// with the nearest source pixel. The destination size must be valid (see ValidImageSize).
RasterImage ScaleHalftone(const RasterImage& source, int width, int height);

// The same resampling of a picture that arrives a band of rows at a time, top to bottom, with
// the same pixels as ScaleHalftone gives for the whole picture (an icon's mask aside): a picture
// can be shrunk while it is decoded, its rows still in the cache, with only a row's sums kept.
class HalftoneRows {
public:
    // Sizes as for ScaleHalftone; the source size must be valid too.
    HalftoneRows(int sourceWidth, int sourceHeight, int width, int height);

    // The next count source rows, sourceWidth pixels each; rows beyond the source's height are
    // ignored.
    void Add(const Color* rows, int count);
    // Every source row has been added.
    bool Complete() const;
    // The resampled picture; call once, when complete.
    RasterImage Finish();

    // The source pixels one destination pixel covers along one axis, with integer weights that
    // add up to one (1 << 14) exactly, so a flat colour stays exactly flat.
    struct Span {
        int first = 0;
        std::vector<std::uint32_t> weights;
    };

private:
    void FinishRow(int y, const std::vector<std::uint32_t>& acc);
    void AddToCarried(const std::uint8_t* bytes, std::uint32_t weight);
    void FlushRun();

    int sourceWidth_;
    int sourceHeight_;
    std::vector<Span> columns_;
    std::vector<Span> rows_;
    std::vector<std::uint32_t> open_;     // sums of the destination row carried over, if any
    std::vector<std::uint32_t> started_;  // sums of a destination row started on this source row
    // The carried row's latest source rows that share one weight, summed as they are: the
    // rows inside a destination row all weigh the same, so a large reduction multiplies once
    // for a run of them instead of once a row. runRows_ is 0 when no run is open.
    std::vector<std::uint16_t> run_;
    std::uint32_t runWeight_ = 0;
    int runRows_ = 0;
    std::vector<std::uint16_t> mixed_;
    RasterImage out_;
    int nextSource_ = 0;
    int nextRow_ = 0;
    int carried_ = -1;
};

}  // namespace velinor::render
