#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "render/RasterImage.h"

namespace velinor::imageio {

// Builds the upright picture from a picture's stored rows as a decoder produces them, a block
// of rows at a time, into the one store the picture keeps: no second full-size copy is ever
// made. Orientations: 1 as stored, 2 mirror, 3 half turn, 4 flip, 5 transpose, 6 quarter turn
// clockwise, 7 transverse, 8 quarter turn anticlockwise.
//   1, 2: each block is appended (mirrored row by row);
//   3, 4: blocks are appended and turned in place at the end;
//   5-8: each block's columns become 16-pixel pieces of the upright rows, so every write
//        fills whole cache lines instead of one pixel per row.
class UprightBuilder {
public:
    static constexpr int kBlockRows = 16;

    // width and height as stored; the caller has checked the size.
    UprightBuilder(int width, int height, int orientation);

    // Room for kBlockRows stored rows of width pixels each.
    render::Color* Block() { return block_.data(); }

    // The first rows rows of Block() are the next stored rows.
    void Add(int rows);

    // Orientation 1 only: added row y, where it stays, unchanged, in the finished picture.
    const render::Color* AddedRow(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
    }

    // The upright picture; call once, after every stored row was added.
    render::RasterImage Finish();

private:
    void Scatter(int rows);

    int width_;
    int height_;
    int orientation_;
    int nextRow_ = 0;
    render::Pixels pixels_;
    render::Pixels block_;
};

// Turns a whole picture stored with the given orientation upright.
render::RasterImage ApplyOrientation(render::RasterImage image, int orientation);

}  // namespace velinor::imageio
