// data/nviewlib: PCX pictures for logos.

#include "imageio/FileBytes.h"
#include "plugins/PluginApi.h"
#include "plugins/PluginSupport.h"
#include "plugins/nviewlib/PcxDecoder.h"

namespace {

// The size of the picture of the last load, reported by GetWidth and GetHeight.
int32_t lastWidth = 0;
int32_t lastHeight = 0;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) VelinorBitmap* NViewLibLoad(const char* path, int32_t /*flags*/) {
    lastWidth = 0;
    lastHeight = 0;
    try {
        if (path == nullptr) return nullptr;
        const auto bytes = velinor::imageio::ReadWholeFile(path);
        if (!bytes) return nullptr;
        auto picture = velinor::plugins::DecodePcx(bytes->data(), bytes->size());
        if (!picture) return nullptr;
        const int32_t width = picture->width, height = picture->height;
        VelinorBitmap* bitmap = velinor::plugins::ToBitmap(std::move(*picture));
        if (bitmap != nullptr) {
            lastWidth = width;
            lastHeight = height;
        }
        return bitmap;
    } catch (...) {
        return nullptr;  // nothing may unwind into the caller's C frames
    }
}

__attribute__((visibility("default"))) int32_t GetWidth(void) { return lastWidth; }
__attribute__((visibility("default"))) int32_t GetHeight(void) { return lastHeight; }

__attribute__((visibility("default"))) void NViewLibRelease(VelinorBitmap* bitmap) {
    velinor::plugins::FreeBitmap(bitmap);
}

__attribute__((visibility("default"))) void VelinorSetPixelLimit(int64_t pixels) {
    velinor::plugins::SetLibraryPixelLimit(pixels);
}

}  // extern "C"
