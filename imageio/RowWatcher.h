#pragma once

#include "render/Color.h"

namespace velinor::imageio {

// Sees the rows of a picture as its decoder delivers them, top to bottom, where the decoder
// delivers them upright (a JPEG file without an EXIF turn); the decoded picture is returned as
// usual. A caller can shrink a preview while the rows are still in the cache instead of reading
// the whole picture again afterwards, or write them out while the rest is decoded. Its methods
// must not throw.
//
// The rows shown are the decoded picture's own, in place: each stays at its address, unchanged,
// in the picture returned, so another thread may read them until that picture is changed or
// freed (a failed decode frees them when it returns: see Failed). The metadata the decode was asked for is
// there by Begin.
class RowWatcher {
public:
    virtual ~RowWatcher() = default;
    // Once, before the first rows, with the picture's size.
    virtual void Begin(int width, int height) = 0;
    // The next count rows, width pixels each.
    virtual void Rows(const render::Color* rows, int count) = 0;
    // The decode failed, perhaps before Begin: the rows shown go when it returns, so whatever
    // reads them must have stopped when this returns.
    virtual void Failed() {}
};

}  // namespace velinor::imageio
