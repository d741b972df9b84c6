#pragma once

#include <cmath>
#include <string>

namespace velinor::render {

// What a font is made from, in the terms the rest of the program speaks.
struct FontDescription {
    std::string face;        // family name; empty for the default face
    // Negative: character height (em size) in pixels. Positive: cell height (ascent plus
    // descent) in pixels. Zero: the default size.
    int height = 0;
    int weight = 400;        // 400 regular, 700 bold; 600 and above counts as bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

// The font height for a size in points on a display of dpi vertical pixels per inch:
// minus the character height in pixels, rounded to nearest.
inline int FontHeightForPoints(int points, int dpi) {
    return -static_cast<int>(std::lround(static_cast<double>(points) * dpi / 72.0));
}

}  // namespace velinor::render
