#include "stamping/MemoryBound.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "imageio/PictureHead.h"

namespace velinor::stamping {

namespace {

constexpr std::size_t kHeadBytes = 4096;
constexpr int kMostSegments = 64;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The frame header of a JPEG: walks its segments from the start of the file, seeking over each
// by its length, until a start-of-frame marker (C0..CF but C4, C8, CC).
std::optional<imageio::PictureSize> JpegFrameSize(std::FILE* file) {
    if (std::fseek(file, 2, SEEK_SET) != 0) return std::nullopt;
    for (int segment = 0; segment < kMostSegments; ++segment) {
        unsigned char marker[4];
        if (std::fread(marker, 1, 4, file) != 4 || marker[0] != 0xFF) return std::nullopt;
        const int code = marker[1];
        const long length = (marker[2] << 8) | marker[3];
        if (length < 2) return std::nullopt;
        if (code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC) {
            unsigned char frame[5];
            if (std::fread(frame, 1, 5, file) != 5) return std::nullopt;
            return imageio::PictureSize{(frame[3] << 8) | frame[4], (frame[1] << 8) | frame[2]};
        }
        if (std::fseek(file, length - 2, SEEK_CUR) != 0) return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> NumberInFile(const char* path, const std::string& key) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!key.empty() && line.compare(0, key.size(), key) != 0) continue;
        std::istringstream words(line.substr(key.size()));
        std::uint64_t value = 0;
        if (words >> value) return value;
        return std::nullopt;   // "max": no limit
    }
    return std::nullopt;
}

}  // namespace

std::optional<imageio::PictureSize> PromisedSize(const std::string& path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return std::nullopt;
    std::uint8_t head[kHeadBytes];
    const std::size_t read = std::fread(head, 1, sizeof head, file.get());
    struct stat info {};
    if (::fstat(fileno(file.get()), &info) != 0) return std::nullopt;
    const imageio::HeadVerdict verdict =
        imageio::JudgeHead({head, read}, static_cast<std::uintmax_t>(info.st_size), imageio::DecodeLimits{});
    if (verdict.kind == imageio::HeadVerdict::Kind::Stream) return JpegFrameSize(file.get());
    if (verdict.width > 0 && verdict.height > 0) return imageio::PictureSize{verdict.width, verdict.height};
    return std::nullopt;
}

std::optional<std::uint64_t> UsableMemory() {
    std::optional<std::uint64_t> least;
    const auto take = [&](std::optional<std::uint64_t> bytes) {
        if (bytes && (!least || *bytes < *least)) least = bytes;
    };
    if (const auto kilobytes = NumberInFile("/proc/meminfo", "MemAvailable:")) take(*kilobytes * 1024);
    take(NumberInFile("/sys/fs/cgroup/memory.max", ""));                      // cgroup v2
    take(NumberInFile("/sys/fs/cgroup/memory/memory.limit_in_bytes", ""));    // cgroup v1
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) take(limit.rlim_cur);
    return least;
}

std::uint64_t BytesInFlight(imageio::PictureSize size, bool blockByBlock) {
    const std::uint64_t pixels = static_cast<std::uint64_t>(std::max(0LL, size.width)) *
                                 static_cast<std::uint64_t>(std::max(0LL, size.height));
    // The picture itself, and about as much again for the decoder's and encoder's rows and
    // the picture's metadata while it is written. Block by block: the canvas and the
    // coefficients, and a byte a pixel for the blocks decoded under the marks and the rows the
    // writer keeps (a 4:4:4 photo was measured at a little over ten bytes a pixel).
    return pixels * (blockByBlock ? 4 + 6 + 1 : 4 * 2);
}

int WorkersThatFit(int wanted, imageio::PictureSize largest, std::uint64_t memory, bool blockByBlock) {
    const std::uint64_t each = std::max<std::uint64_t>(1, BytesInFlight(largest, blockByBlock));
    const std::uint64_t fit = memory / each;
    return static_cast<int>(std::clamp<std::uint64_t>(fit, 1, static_cast<std::uint64_t>(std::max(1, wanted))));
}

PixelBudget::Hold::~Hold() {
    {
        std::lock_guard<std::mutex> hold(budget_->lock_);
        budget_->used_ -= pixels_;
    }
    budget_->changed_.notify_all();
}

std::unique_ptr<PixelBudget::Hold> PixelBudget::Take(long long pixels) {
    pixels = std::clamp(pixels, 0LL, total_);
    std::unique_lock<std::mutex> hold(lock_);
    const unsigned long long ticket = nextTicket_++;
    changed_.wait(hold, [&] { return ticket == serving_ && used_ + pixels <= total_; });
    ++serving_;
    used_ += pixels;
    hold.unlock();
    changed_.notify_all();
    return std::make_unique<Hold>(this, pixels);
}

long long PromisedPixels(const std::string& path) {
    const auto size = PromisedSize(path);
    return size ? std::max(0LL, size->width) * std::max(0LL, size->height) : 0;
}

int WorkersForFiles(int wanted, const std::vector<std::string>& files, bool blockByBlock, imageio::PictureSize* largest,
                    std::vector<long long>* promised) {
    if (wanted <= 1) return std::max(1, wanted);
    if (promised != nullptr) promised->clear();
    imageio::PictureSize biggest;
    for (const std::string& file : files) {
        const auto size = PromisedSize(file);
        const long long pixels = size ? std::max(0LL, size->width) * std::max(0LL, size->height) : 0;
        if (promised != nullptr) promised->push_back(pixels);
        if (pixels > biggest.width * biggest.height) biggest = *size;
    }
    if (largest != nullptr) *largest = biggest;
    const std::optional<std::uint64_t> memory = UsableMemory();
    if (!memory) return wanted;
    return WorkersThatFit(wanted, biggest, *memory, blockByBlock);
}

}  // namespace velinor::stamping
