#include "render/PixelStore.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace velinor::render {
namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

void AdviseHugePages(void* data, std::size_t bytes) {
    if (bytes < 2 * kHugePageBytes) return;
    // madvise needs a page-aligned start; the untouched head of the allocation is skipped.
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t aligned = (start + page - 1) / page * page;
    const std::uintptr_t end = start + bytes;
    if (aligned >= end) return;
    ::madvise(reinterpret_cast<void*>(aligned), end - aligned, MADV_HUGEPAGE);
}

}  // namespace

void ReservePixels(std::vector<Color>& pixels, std::size_t count) {
    const bool fresh = pixels.capacity() < count;
    pixels.reserve(count);
    if (fresh) AdviseHugePages(pixels.data(), count * sizeof(Color));
}

std::vector<Color> MakePixels(std::size_t count, Color fill) {
    std::vector<Color> pixels;
    ReservePixels(pixels, count);
    pixels.assign(count, fill);
    return pixels;
}

std::vector<Color> CopyPixels(const std::vector<Color>& pixels) {
    std::vector<Color> copy;
    ReservePixels(copy, pixels.size());
    copy.assign(pixels.begin(), pixels.end());
    return copy;
}

}  // namespace velinor::render
