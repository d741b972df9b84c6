#pragma once

#include <string>

#include "marks/TextMark.h"
#include "render/Color.h"
#include "render/FontTable.h"
#include "render/Random.h"

namespace velinor::app {

// What the marks remember between events: the text mark's font (shared by the single picture
// and the text batch), the logo file (shared by both logo buttons) with its key colour, and
// the fonts and random numbers the drawing uses.
struct MarkState {
    marks::MarkFontSpec MarkFontSpec;
    std::string LogoFile;                  // full path; empty until chosen, and after a cancel
    render::Color LogoKeyColor = render::kBlack;
    bool LogoKeyed = false;                // true while the logo is drawn with the key colour
    render::FontTable fonts;               // holds FontMark
    render::RandomSource random;           // circle radii
};

}  // namespace velinor::app
