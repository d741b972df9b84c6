#include "imageio/JpegMemory.h"

#include <jerror.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "render/Pixels.h"

namespace velinor::imageio {

namespace {

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
};

Hooks& HooksOf(j_common_ptr info) { return *static_cast<Hooks*>(info->client_data); }

void ReleaseRegion(Hooks& hooks) {
    if (hooks.region != nullptr) render::ReturnPixelMemory(hooks.region, hooks.regionBytes);
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
    bool fresh = false;
    void* region = nullptr;
    try {
        region = render::TakePixelMemory(total, fresh);
    } catch (const std::bad_alloc&) {
        region = nullptr;
    }
    if (region == nullptr) ERREXIT1(info, JERR_OUT_OF_MEMORY, 10);
    hooks.region = region;
    hooks.regionBytes = total;
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
