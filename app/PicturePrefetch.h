#pragma once

#include <future>
#include <optional>
#include <string>

#include "imageio/PictureMetadata.h"
#include "render/ImageRegistry.h"
#include "render/RasterImage.h"

namespace velinor::app {

// Decodes the next picture of a batch run on a second thread while the current one is stamped
// and written, when the process may use more than one processor. It only ever reads: the run
// still loads, stamps, writes and logs one picture after the other on its own thread, so the
// files, their order, the log and cancel are those of a run without it. At most one picture is
// decoded ahead, so memory holds two pictures at most, however long the list; and a picture of
// more than kAheadPixels is not decoded ahead at all, so a large one never sits beside another.
class PicturePrefetch {
public:
    // 32 megapixels, a 128 MB pixel store: most camera photos; larger ones wait for their turn.
    static constexpr long long kAheadPixels = 1LL << 25;

    // enabled false: Start does nothing and every Load decodes on the calling thread.
    explicit PicturePrefetch(bool enabled);
    ~PicturePrefetch();   // Stop()
    PicturePrefetch(const PicturePrefetch&) = delete;
    PicturePrefetch& operator=(const PicturePrefetch&) = delete;

    // Starts decoding path in the background; a decode started earlier and not taken is dropped.
    // A path that is no regular file now is not decoded ahead: it may be written before it is
    // asked for (an earlier output of the same run), and must then be read as it is by then.
    void Start(const std::string& path);

    // Frees number and loads path into it as LoadPicture does, taking the background result when
    // it was started for path and the file is still the one it read (same file, size and time);
    // otherwise it decodes on the calling thread, leaving a decode of another path running.
    // A background decode that failed is tried once more on the calling thread, with number
    // freed first. Null when the picture does not decode.
    // The file's metadata goes to metadata when it is given.
    render::ImageHandle Load(render::ImageRegistry& images, int number, const std::string& path,
                             imageio::PictureMetadata* metadata = nullptr);

    // Waits for a decode still running and drops its picture.
    void Stop();

    // True when this process may run on more than one processor now (its affinity, not the
    // machine's size: a run pinned to one core gains nothing from a second thread).
    static bool SeveralProcessors();

private:
    // What identifies the contents of a file well enough to tell that it was replaced or
    // written to: device, inode, size and modification time.
    struct FileStamp {
        unsigned long long device = 0, inode = 0, size = 0;
        long long seconds = 0, nanoseconds = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static std::optional<FileStamp> StampOf(const std::string& path);

    bool enabled_;
    std::string path_;
    FileStamp stamp_;
    struct Decoded {
        std::optional<render::RasterImage> picture;
        imageio::PictureMetadata metadata;
    };
    std::future<Decoded> pending_;
};

}  // namespace velinor::app
