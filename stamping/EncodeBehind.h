#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "imageio/AtomicFile.h"
#include "imageio/BgrRows.h"
#include "imageio/PictureMetadata.h"
#include "imageio/RowWatcher.h"
#include "render/RasterImage.h"

// Writing a JPEG while its picture is still being decoded: the rows above the marks are coded
// on a thread of their own as they arrive, the rest once the marks are drawn, so a large photo
// is written while the decoder still works on its lower rows instead of after it.
namespace velinor::stamping {

// The rows of a width x height picture its marks may change.
using MarkRows = std::function<render::RowSpan(int width, int height)>;

// Given to the decoder as its watcher. When the decoder shows every row in place (an upright
// JPEG), a thread writes them beside output as WritePictureAside writes a JPEG at quality with
// the file's metadata, holding back from the first row the marks change until Drawn; for any
// other picture nothing is written and the caller writes the picture itself.
class EncodeBehind final : public imageio::RowWatcher, private imageio::RowGate {
public:
    // metadata is the object the decode fills: it is copied when the first rows arrive.
    EncodeBehind(std::string output, int quality, const imageio::MetadataChoices& choices,
                 const imageio::PictureMetadata& metadata, MarkRows marks);
    // Stops the thread, throwing away what it wrote, unless Drawn took its file.
    ~EncodeBehind() override;
    EncodeBehind(const EncodeBehind&) = delete;
    EncodeBehind& operator=(const EncodeBehind&) = delete;

    void Begin(int width, int height) override;
    void Rows(const render::Color* rows, int count) override;
    void Failed() override;

    // Whether every row of picture, the decoded one, came through here in place and is being
    // written; if not, nothing is (the thread, if any, is stopped).
    bool Writing(const render::RasterImage& picture);
    // The marks are drawn: the remaining rows are written and the finished file handed over,
    // not yet in place; null when it could not be written.
    std::unique_ptr<imageio::AtomicFile> Drawn();

private:
    int WaitFor(int rows) override;
    void Write();
    void Stop();

    const std::string output_;
    const int quality_;
    const imageio::MetadataChoices choices_;
    const imageio::PictureMetadata& decoded_;
    const MarkRows marks_;

    imageio::PictureMetadata metadata_;   // the writer's copy
    int width_ = 0;
    int height_ = 0;
    int heldFrom_ = 0;                    // the first row the marks may change
    const render::Color* first_ = nullptr;
    bool inPlace_ = true;
    std::unique_ptr<imageio::AtomicFile> file_;   // the writer's, once it ends

    std::mutex lock_;
    std::condition_variable changed_;
    int arrived_ = 0;      // rows decoded
    bool drawn_ = false;
    bool stopped_ = false;
    std::thread thread_;
};

}  // namespace velinor::stamping
