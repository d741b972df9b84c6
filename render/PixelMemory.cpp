#include <sys/mman.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <new>
#include <thread>

#include "render/Pixels.h"

namespace velinor::render {
namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
// Blocks from this size up are mapped on their own: a picture of a megapixel or more.
constexpr std::size_t kMappedFromBytes = std::size_t{4} << 20;
// Freed blocks kept for reuse: the last few, at most this much memory in all (a few photos'
// worth), the oldest given back first beyond either bound. A render or a batch picture frees
// and takes again a handful of stores at a time, so a few blocks cover them, and the memory the
// program holds does not grow with the number of pictures it has seen.
constexpr std::size_t kKeptBytesLimit = std::size_t{384} << 20;
constexpr std::size_t kKeptBlocksLimit = 4;
// Kept blocks that nothing took or gave for this long go back to the system: an idle program
// holds no pictures' worth of memory it does not use.
constexpr std::chrono::seconds kIdleGiveBack{5};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMapLargeBlocks = false;
#else
constexpr bool kMapLargeBlocks = true;
#endif

std::size_t MappedSize(std::size_t bytes) { return (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes; }

// size bytes starting on a huge-page boundary, so that a system that backs every mapping with
// huge pages can do so here; null when there is no memory. The range is not advised for huge
// pages: where the system gives them only to advised ranges it also compacts memory for them
// at the first touch of each, which cost a batch of camera photos a fifth of its time (system
// time 0.4 s of 1.65 s for nine photos against 0.08 s unadvised), more than they ever save.
void* MapAligned(std::size_t size) {
    const std::size_t span = size + kHugePageBytes;
    void* raw = ::mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    if (aligned > start) ::munmap(raw, aligned - start);
    const std::uintptr_t end = aligned + size;
    if (start + span > end) ::munmap(reinterpret_cast<void*>(end), start + span - end);
    return reinterpret_cast<void*>(aligned);
}

struct Block {
    void* data = nullptr;
    std::size_t size = 0;  // a multiple of the huge page size
};

class KeptBlocks {
public:
    // The smallest kept block of at least size bytes, cut to size (the rest is kept on its own
    // when large enough to be worth keeping); null when none is large enough. Then every kept
    // block is given back: the pictures have outgrown them, and keeping them while a larger
    // one is mapped would make the memory held grow with the pictures seen.
    void* Take(std::size_t size) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::size_t best = count_;
        for (std::size_t i = 0; i < count_; ++i) {
            if (blocks_[i].size >= size && (best == count_ || blocks_[i].size < blocks_[best].size)) best = i;
        }
        lastUse_ = std::chrono::steady_clock::now();
        if (best == count_) {
            GiveBackLocked();
            return nullptr;
        }
        const Block block = blocks_[best];
        RemoveAt(best);
        if (block.size > size) {
            const Block rest{static_cast<char*>(block.data) + size, block.size - size};
            if (rest.size >= kMappedFromBytes) {
                KeepLocked(rest);
            } else {
                ::munmap(rest.data, rest.size);
            }
        }
        return block.data;
    }

    void Keep(const Block& block) {
        std::lock_guard<std::mutex> lock(mutex_);
        KeepLocked(block);
        lastUse_ = std::chrono::steady_clock::now();
        if (!watching_) {
            // Runs for the rest of the process; the blocks object is never destroyed.
            watching_ = true;
            std::thread([this] { GiveBackWhenIdle(); }).detach();
        }
        wake_.notify_one();
    }

    std::size_t Total() {
        std::lock_guard<std::mutex> lock(mutex_);
        return total_;
    }

private:
    void GiveBackLocked() {
        while (count_ > 0) {
            ::munmap(blocks_[count_ - 1].data, blocks_[count_ - 1].size);
            RemoveAt(count_ - 1);
        }
    }

    void GiveBackWhenIdle() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (true) {
            if (count_ == 0) {
                wake_.wait(lock);
                continue;
            }
            const auto due = lastUse_ + kIdleGiveBack;
            if (std::chrono::steady_clock::now() >= due) {
                GiveBackLocked();
            } else {
                wake_.wait_until(lock, due);
            }
        }
    }

    void KeepLocked(const Block& block) {
        while (count_ > 0 && (count_ == kKeptBlocksLimit || total_ + block.size > kKeptBytesLimit)) {
            ::munmap(blocks_[0].data, blocks_[0].size);
            RemoveAt(0);
        }
        if (block.size > kKeptBytesLimit) {
            ::munmap(block.data, block.size);
            return;
        }
        blocks_[count_++] = block;
        total_ += block.size;
    }

    void RemoveAt(std::size_t index) {
        total_ -= blocks_[index].size;
        for (std::size_t i = index + 1; i < count_; ++i) blocks_[i - 1] = blocks_[i];
        --count_;
    }

    std::mutex mutex_;
    std::array<Block, kKeptBlocksLimit> blocks_{};
    std::size_t count_ = 0;
    std::size_t total_ = 0;
    std::chrono::steady_clock::time_point lastUse_;
    std::condition_variable wake_;
    bool watching_ = false;
};

KeptBlocks& Kept() {
    // Never destroyed: the thread that gives back idle blocks may run until the process ends.
    static KeptBlocks& kept = *new KeptBlocks;
    return kept;
}

}  // namespace

void* TakePixelMemory(std::size_t bytes, bool& fresh) {
    fresh = false;
    if (!kMapLargeBlocks || bytes < kMappedFromBytes) return ::operator new(bytes == 0 ? 1 : bytes);
    const std::size_t size = MappedSize(bytes);
    if (void* data = Kept().Take(size)) return data;
    void* data = MapAligned(size);
    if (data == nullptr) throw std::bad_alloc();
    fresh = true;
    return data;
}

void* TakePixelMemory(std::size_t bytes) {
    bool fresh = false;
    return TakePixelMemory(bytes, fresh);
}

void ReturnPixelMemory(void* data, std::size_t bytes) noexcept {
    if (data == nullptr) return;
    if (!kMapLargeBlocks || bytes < kMappedFromBytes) {
        ::operator delete(data);
        return;
    }
    Kept().Keep({data, MappedSize(bytes)});
}

std::size_t KeptPixelBytes() { return Kept().Total(); }

}  // namespace velinor::render
