#include "imageio/JpegMemory.h"

#include <sys/mman.h>

#include <jerror.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>

namespace velinor::imageio {

namespace {

constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
// A region up to this size is kept for the next picture; a larger one is returned to the
// system, so that one huge picture does not pin its memory for the rest of the run.
constexpr std::size_t kKeptRegionBytes = std::size_t{512} << 20;

void* MapRegion(std::size_t bytes) {
    void* data = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (data == MAP_FAILED) return nullptr;
    ::madvise(data, bytes, MADV_HUGEPAGE);
    return data;
}

// The one kept region, lent to one decompressor at a time; a decompressor that finds it lent
// (another thread decodes too) maps a region of its own.
class RegionKeeper {
public:
    // A region of at least bytes (a multiple of the huge page size), or null. fresh tells
    // whether it was just mapped, and so still reads as zeros throughout.
    void* Borrow(std::size_t bytes, bool& kept, bool& fresh) {
        std::lock_guard<std::mutex> lock(mutex_);
        kept = false;
        fresh = true;
        if (lent_) return MapRegion(bytes);
        fresh = bytes > kept_bytes_;
        if (bytes > kept_bytes_) {
            if (kept_ != nullptr) ::munmap(kept_, kept_bytes_);
            kept_ = nullptr;
            kept_bytes_ = 0;
            void* data = MapRegion(bytes);
            if (data == nullptr) return nullptr;
            if (bytes > kKeptRegionBytes) return data;
            kept_ = data;
            kept_bytes_ = bytes;
        }
        lent_ = true;
        kept = true;
        return kept_;
    }

    void Return(void* data, std::size_t bytes, bool kept) {
        if (!kept) {
            ::munmap(data, bytes);
            return;
        }
        std::lock_guard<std::mutex> lock(mutex_);
        lent_ = false;
    }

private:
    std::mutex mutex_;
    void* kept_ = nullptr;
    std::size_t kept_bytes_ = 0;
    bool lent_ = false;
};

RegionKeeper& Keeper() {
    static RegionKeeper keeper;
    return keeper;
}

// One whole-picture array of coefficient blocks, handed to the library as its opaque
// virtual-array handle.
struct BlockArray {
    JDIMENSION blocksPerRow = 0;
    JDIMENSION rows = 0;
    bool preZero = false;
    bool readsZero = false;  // the memory is freshly mapped: unwritten rows are zeros already
    JDIMENSION firstUndefinedRow = 0;  // rows from here on were never written
    JBLOCKARRAY rowPointers = nullptr;
    BlockArray* next = nullptr;
};

struct Hooks {
    jpeg_memory_mgr library;  // the library's own methods, called for everything else
    BlockArray* arrays = nullptr;
    void* region = nullptr;
    std::size_t regionBytes = 0;
    bool regionKept = false;
};

Hooks& HooksOf(j_common_ptr info) { return *static_cast<Hooks*>(info->client_data); }

void ReleaseRegion(Hooks& hooks) {
    if (hooks.region != nullptr) Keeper().Return(hooks.region, hooks.regionBytes, hooks.regionKept);
    hooks.region = nullptr;
    hooks.regionBytes = 0;
    hooks.arrays = nullptr;
}

jvirt_barray_ptr RequestBlockArray(j_common_ptr info, int pool, boolean preZero, JDIMENSION blocksPerRow,
                                   JDIMENSION rows, JDIMENSION /*maxAccess*/) {
    // Whole-picture arrays live as long as the picture, like the library's own.
    if (pool != JPOOL_IMAGE) ERREXIT1(info, JERR_BAD_POOL_ID, pool);
    Hooks& hooks = HooksOf(info);
    auto* array = static_cast<BlockArray*>(hooks.library.alloc_small(info, JPOOL_IMAGE, sizeof(BlockArray)));
    *array = BlockArray{blocksPerRow, rows, preZero != 0, false, 0, nullptr, hooks.arrays};
    hooks.arrays = array;
    return reinterpret_cast<jvirt_barray_ptr>(array);
}

void RealizeArrays(j_common_ptr info) {
    Hooks& hooks = HooksOf(info);
    hooks.library.realize_virt_arrays(info);
    std::size_t total = 0;
    for (BlockArray* array = hooks.arrays; array != nullptr; array = array->next) {
        if (array->rowPointers != nullptr) continue;
        // At most 32767 / 8 rounded up blocks a side: no product here comes near overflowing.
        total += static_cast<std::size_t>(array->blocksPerRow) * array->rows * sizeof(JBLOCK);
    }
    if (total == 0) return;
    const std::size_t bytes = (total + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes;
    bool kept = false;
    bool fresh = false;
    void* region = Keeper().Borrow(bytes, kept, fresh);
    if (region == nullptr) ERREXIT1(info, JERR_OUT_OF_MEMORY, 10);
    hooks.region = region;
    hooks.regionBytes = bytes;
    hooks.regionKept = kept;
    auto* next = static_cast<JBLOCK*>(region);
    for (BlockArray* array = hooks.arrays; array != nullptr; array = array->next) {
        if (array->rowPointers != nullptr) continue;
        array->readsZero = fresh;
        array->rowPointers = static_cast<JBLOCKARRAY>(
            hooks.library.alloc_large(info, JPOOL_IMAGE, sizeof(JBLOCKROW) * std::max<JDIMENSION>(array->rows, 1)));
        for (JDIMENSION row = 0; row < array->rows; ++row) {
            array->rowPointers[row] = next;
            next += array->blocksPerRow;
        }
    }
}

// The library's contract: writers fill rows in order; rows never written read as zeros when
// the array was asked to start zeroed, and are an error otherwise. Zeroing happens here, on
// first access, so memory the decoder is about to overwrite is never cleared ahead of time, and
// not at all in a freshly mapped region, which the system hands over zeroed.
JBLOCKARRAY AccessBlocks(j_common_ptr info, jvirt_barray_ptr handle, JDIMENSION startRow, JDIMENSION rows,
                         boolean writable) {
    auto* array = reinterpret_cast<BlockArray*>(handle);
    const JDIMENSION endRow = startRow + rows;
    if (array->rowPointers == nullptr || endRow > array->rows || endRow < startRow) {
        ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
    }
    if (array->firstUndefinedRow < endRow) {
        JDIMENSION undefined = array->firstUndefinedRow;
        if (undefined < startRow) {
            if (writable) ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
            undefined = startRow;
        }
        if (writable) array->firstUndefinedRow = endRow;
        if (!array->preZero) {
            if (!writable) ERREXIT(info, JERR_BAD_VIRTUAL_ACCESS);
        } else if (!array->readsZero) {
            for (JDIMENSION row = undefined; row < endRow; ++row) {
                std::memset(array->rowPointers[row], 0, array->blocksPerRow * sizeof(JBLOCK));
            }
        }
    }
    return array->rowPointers + startRow;
}

void FreePool(j_common_ptr info, int pool) {
    Hooks& hooks = HooksOf(info);
    if (pool == JPOOL_IMAGE) ReleaseRegion(hooks);
    hooks.library.free_pool(info, pool);
}

void SelfDestruct(j_common_ptr info) {
    Hooks& hooks = HooksOf(info);
    ReleaseRegion(hooks);
    // The hooks live in the library's permanent pool, which this call frees.
    const auto destruct = hooks.library.self_destruct;
    info->client_data = nullptr;
    destruct(info);
}

}  // namespace

void UseReusableCoefficientMemory(j_common_ptr info) {
    jpeg_memory_mgr* methods = info->mem;
    auto* hooks = static_cast<Hooks*>(methods->alloc_small(info, JPOOL_PERMANENT, sizeof(Hooks)));
    new (hooks) Hooks{};
    hooks->library = *methods;
    info->client_data = hooks;
    methods->request_virt_barray = RequestBlockArray;
    methods->realize_virt_arrays = RealizeArrays;
    methods->access_virt_barray = AccessBlocks;
    methods->free_pool = FreePool;
    methods->self_destruct = SelfDestruct;
}

}  // namespace velinor::imageio
