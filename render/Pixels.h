#pragma once

#include <cstddef>
#include <new>
#include <vector>

#include "render/Color.h"

namespace velinor::render {

// Where pixel stores get their memory. A photo's pixels take tens of megabytes, and every
// render and every batch picture needs a few such stores, each freed soon after; memory the
// system hands out fresh must first be cleared by it, page by page, which costs more than
// copying the picture. So a large block is mapped on its own, and when freed it is kept (up to
// a bound) for the next store of about its size. Small blocks come from the ordinary heap.
//
// Under AddressSanitizer every block comes from the heap, so that the sanitizer still sees
// each store's bounds.

// At least bytes of memory for pixels; throws std::bad_alloc when there is none.
void* TakePixelMemory(std::size_t bytes);

// Returns a block from TakePixelMemory, with the same size.
void ReturnPixelMemory(void* data, std::size_t bytes) noexcept;

// Bytes of freed pixel stores kept for reuse; they go back to the system once no store has been
// taken or freed for five seconds.
std::size_t KeptPixelBytes();

// Like TakePixelMemory; fresh tells whether the block is newly mapped and so reads as zeros
// throughout (a kept block holds what its last owner left).
void* TakePixelMemory(std::size_t bytes, bool& fresh);

template <class T>
struct PixelAllocator {
    using value_type = T;

    PixelAllocator() noexcept = default;
    template <class U>
    PixelAllocator(const PixelAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        return static_cast<T*>(TakePixelMemory(count * sizeof(T)));
    }
    void deallocate(T* data, std::size_t count) noexcept { ReturnPixelMemory(data, count * sizeof(T)); }

    template <class U>
    bool operator==(const PixelAllocator<U>&) const noexcept {
        return true;
    }
};

// A picture's pixels, rows top to bottom.
using Pixels = std::vector<Color, PixelAllocator<Color>>;

}  // namespace velinor::render
