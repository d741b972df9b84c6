#pragma once

#include <future>
#include <optional>
#include <string>

#include "render/ImageRegistry.h"
#include "render/RasterImage.h"

namespace velinor::app {

// Decodes the next picture of a batch run on a second thread while the current one is stamped
// and written, when the process may use more than one processor. It only ever reads: the run
// still loads, stamps, writes and logs one picture after the other on its own thread, so the
// files, their order, the log and cancel are those of a run without it. At most one picture is
// decoded ahead, so memory holds two pictures at most, however long the list.
class PicturePrefetch {
public:
    // enabled false: Start does nothing and every Load decodes on the calling thread.
    explicit PicturePrefetch(bool enabled);
    ~PicturePrefetch();   // Stop()
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // Starts decoding path in the background; a decode started earlier and not taken is dropped.
    void Start(const std::string& path);

    // Frees number and loads path into it as LoadPicture does, taking the background result when
    // it was started for path; for any other path it decodes on the calling thread and leaves the
    // background decode running. Null when the picture does not decode.
    render::ImageHandle Load(render::ImageRegistry& images, int number, const std::string& path);

    // Waits for a decode still running and drops its picture.
    void Stop();

    // True when this process may run on more than one processor now (its affinity, not the
    // machine's size: a run pinned to one core gains nothing from a second thread).
    static bool SeveralProcessors();

private:
    bool enabled_;
    std::string path_;
    std::future<std::optional<render::RasterImage>> pending_;
};

}  // namespace velinor::app
