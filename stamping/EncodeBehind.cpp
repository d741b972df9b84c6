#include "stamping/EncodeBehind.h"

#include <algorithm>
#include <system_error>
#include <utility>

#include "imageio/Writer.h"

namespace velinor::stamping {

EncodeBehind::EncodeBehind(std::string output, int quality, const imageio::MetadataChoices& choices,
                           const imageio::PictureMetadata& metadata, MarkRows marks)
    : output_(std::move(output)), quality_(quality), choices_(choices), decoded_(metadata), marks_(std::move(marks)) {}

EncodeBehind::~EncodeBehind() { Stop(); }

void EncodeBehind::Begin(int width, int height) {
    width_ = width;
    height_ = height;
    heldFrom_ = height;
    try {
        const render::RowSpan marked = marks_ ? marks_(width, height).Within(height) : render::RowSpan{};
        if (!marked.Empty()) heldFrom_ = marked.top;
    } catch (...) {
        heldFrom_ = 0;   // not known: every row waits for the marks
    }
}

void EncodeBehind::Rows(const render::Color* rows, int count) {
    if (!inPlace_) return;
    if (first_ == nullptr) {
        first_ = rows;
        try {
            metadata_ = decoded_;
            thread_ = std::thread(&EncodeBehind::Write, this);
        } catch (...) {
            // No memory or no thread: the caller writes the picture once it is decoded.
            inPlace_ = false;
            return;
        }
    }
    // Only this thread changes arrived_, so it reads it unlocked.
    if (rows != first_ + static_cast<std::size_t>(arrived_) * static_cast<std::size_t>(width_)) {
        inPlace_ = false;
        Stop();
        return;
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
        arrived_ += count;
    }
    changed_.notify_one();
}

void EncodeBehind::Failed() { Stop(); }

bool EncodeBehind::Writing(const render::RasterImage& picture) {
    const bool whole = thread_.joinable() && inPlace_ && arrived_ == height_ && picture.width == width_ &&
                       picture.height == height_ && picture.pixels.data() == first_;
    if (!whole) Stop();
    return whole;
}

std::unique_ptr<imageio::AtomicFile> EncodeBehind::Drawn() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        drawn_ = true;
    }
    changed_.notify_one();
    if (thread_.joinable()) thread_.join();
    return std::move(file_);
}

int EncodeBehind::WaitFor(int rows) {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [&] { return stopped_ || (arrived_ >= rows && (rows <= heldFrom_ || drawn_)); });
    if (stopped_) return 0;
    return drawn_ ? arrived_ : std::min(arrived_, heldFrom_);
}

void EncodeBehind::Write() {
    try {
        const imageio::BgrRows rows(first_, width_, height_, this);
        file_ = imageio::WriteRowsAside(rows, output_, imageio::kEncoderJpeg, quality_, &metadata_, choices_);
    } catch (...) {
        file_.reset();
    }
}

void EncodeBehind::Stop() {
    {
        std::lock_guard<std::mutex> hold(lock_);
        stopped_ = true;
    }
    changed_.notify_one();
    if (thread_.joinable()) thread_.join();
    file_.reset();
}

}  // namespace velinor::stamping
