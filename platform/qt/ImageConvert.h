#pragma once

#include <QCursor>
#include <QImage>

#include "render/RasterImage.h"

namespace velinor::platform::qt {

// A deep copy of a raster image as a QImage. Plain bitmaps become opaque RGB; icons carry
// their mask as alpha (mask 1 = opaque). An empty or malformed image gives a null QImage.
QImage ToQImage(const render::RasterImage& image);

// 0x00BBGGRR colour <-> QColor.
QColor ToQColor(render::Color colour);
render::Color FromQColor(const QColor& colour);

// The picker pointer: a pipette drawn in code, hot spot at its tip (bottom left).
QCursor PipetteCursor();

}  // namespace velinor::platform::qt
