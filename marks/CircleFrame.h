#pragma once

#include <vector>

#include "render/Color.h"
#include "render/RasterImage.h"
#include "render/Random.h"

namespace velinor::marks {

struct CircleFrameParams {
    int border = 16;       // band width b
    int maxRadius = 10;    // largest circle radius R
    int gap = 3;           // circle centres lie gap + 1 pixels apart
    int sides = 4;         // 2: circles along top and bottom only; 4: along all edges
    bool filled = true;    // filled circles, or 1-pixel outlines
    render::Color colour = render::kLightGrey;
};

struct Circle {
    int x = 0, y = 0, radius = 0;
};

// The circles of a frame on a width x height picture, in drawing order, each with its own
// radius drawn from 0..R: for i = 0, g+1, 2(g+1), ... while i <= width, one on the top and one
// on the bottom inner edge (y = b and y = height - b); with four sides, then for i up to
// height one on the left and one on the right inner edge (x = b and x = width - b).
std::vector<Circle> FrameCircles(int width, int height, const CircleFrameParams& params, render::RandomSource& random);

// Draws the frame layer into layer (its size is the picture's): everything in the frame
// colour, the inside of the band black, then the circles in the frame colour (outlined when
// not filled). Black marks the pixels that are not part of the frame.
void DrawCircleFrameLayer(render::RasterImage& layer, const CircleFrameParams& params, const std::vector<Circle>& circles);

// Lays the circle frame over the picture: every pixel of the frame layer that is not black
// becomes layer colour x (255 - t) / 255 + picture x t / 255, the rest stays as it was, so
// t = 0 gives an opaque frame and t = 255 the picture unchanged. A black frame colour draws
// nothing. When 2 x b reaches the picture's width or height the band covers the whole picture.
//
// The layer is only built for the strips along the edges where frame pixels can lie (the band
// and the reach of the circles), which gives the same pixels as a full-size layer.
void DrawCircleFrame(render::RasterImage& picture, const CircleFrameParams& params, const std::vector<Circle>& circles,
                     int transparency);

}  // namespace velinor::marks
