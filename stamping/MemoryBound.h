#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imageio/DecodeLimits.h"

// How many pictures may be in flight at once in the memory the process may use.
namespace velinor::stamping {

// The size a picture file's header promises (BMP, ICO, TGA, PNG, and JPEG from its frame
// header), read from the file's first bytes and, for a JPEG, its segment headers only. Nothing
// when the header does not say.
std::optional<imageio::PictureSize> PromisedSize(const std::string& path);

// The bytes the process may still use: the least of the memory the system has available, the
// address-space limit and the cgroup's limit, where each is known; nothing when none is.
std::optional<std::uint64_t> UsableMemory();

// The bytes one worker needs for a picture of size: the decoded picture (four bytes a pixel)
// and what decoding and encoding it hold beside it. A JPEG stamped block by block holds other
// things, and more of them: a canvas the marks are drawn on to find their blocks (four bytes a
// pixel) beside the picture's coefficients (two bytes a sample: six bytes a pixel without chroma
// subsampling).
std::uint64_t BytesInFlight(imageio::PictureSize size, bool blockByBlock = false);

// The number of workers, at most wanted, whose pictures of the largest size fit in memory;
// at least 1.
int WorkersThatFit(int wanted, imageio::PictureSize largest, std::uint64_t memory, bool blockByBlock = false);

// The number of workers, at most wanted, whose pictures of the largest size among files (as
// their headers promise) fit in the memory the process may use now; wanted when that memory is
// not known. The largest size goes to largest when it is given, and the pixels each file promises
// (0 when its header does not say) to promised, when it is given and more than one worker is
// wanted: the headers are read then only. blockByBlock: the run stamps its JPEGs block by block.
int WorkersForFiles(int wanted, const std::vector<std::string>& files, bool blockByBlock,
                    imageio::PictureSize* largest = nullptr, std::vector<long long>* promised = nullptr);

// The pixels the workers of a run may hold at once. Each picture takes what its header promises
// while it is stamped, in the order the pictures were begun, waiting until that is free; one
// that promises more than the whole budget waits until it is alone. So a run of large pictures
// never holds two of them beside each other, while ordinary photos run side by side.
class PixelBudget {
public:
    explicit PixelBudget(long long pixels) : total_(pixels) {}

    // Pixels taken from the budget for as long as it lives.
    class Hold {
    public:
        Hold(PixelBudget* budget, long long pixels) : budget_(budget), pixels_(pixels) {}
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        PixelBudget* budget_;
        long long pixels_;
    };

    // Waits for pixels (the whole budget at most) and takes them.
    [[nodiscard]] std::unique_ptr<Hold> Take(long long pixels);

private:
    long long total_;
    long long used_ = 0;
    unsigned long long nextTicket_ = 0, serving_ = 0;
    std::mutex lock_;
    std::condition_variable changed_;
};

// The pixels a file's header promises; 0 when it does not say.
long long PromisedPixels(const std::string& path);

}  // namespace velinor::stamping
