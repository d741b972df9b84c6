#pragma once

#include "render/Color.h"

namespace velinor::imageio {

// Sees the rows of a picture as its decoder delivers them, top to bottom, where the decoder
// delivers them upright (a JPEG file without an EXIF turn); the decoded picture is returned as
// usual. A caller can shrink a preview while the rows are still in the cache instead of reading
// the whole picture again afterwards. Its methods must not throw.
class RowWatcher {
public:
    virtual ~RowWatcher() = default;
    // Once, before the first rows, with the picture's size.
    virtual void Begin(int width, int height) = 0;
    // The next count rows, width pixels each.
    virtual void Rows(const render::Color* rows, int count) = 0;
};

}  // namespace velinor::imageio
