// data/image323: GIF and ICO pictures for logos, recognised by their content.

#include <cstring>

#include "imageio/FileBytes.h"
#include "plugins/PluginApi.h"
#include "plugins/PluginSupport.h"
#include "plugins/image323/GifDecoder.h"
#include "plugins/image323/IcoDecoder.h"

namespace {

std::optional<velinor::plugins::Picture> Decode(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() >= 4 && std::memcmp(bytes.data(), "GIF8", 4) == 0)
        return velinor::plugins::DecodeGif(bytes.data(), bytes.size());
    return velinor::plugins::DecodeIco(bytes.data(), bytes.size());
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) VelinorBitmap* LoadImageFile(uint32_t /*window*/, const char* path) {
    try {
        if (path == nullptr) return nullptr;
        const auto bytes = velinor::imageio::ReadWholeFile(path);
        if (!bytes) return nullptr;
        auto picture = Decode(*bytes);
        return picture ? velinor::plugins::ToBitmap(std::move(*picture)) : nullptr;
    } catch (...) {
        return nullptr;  // nothing may unwind into the caller's C frames
    }
}

__attribute__((visibility("default"))) void ReleaseImageFile(VelinorBitmap* bitmap) {
    velinor::plugins::FreeBitmap(bitmap);
}

__attribute__((visibility("default"))) void VelinorSetPixelLimit(int64_t pixels) {
    velinor::plugins::SetLibraryPixelLimit(pixels);
}

}  // extern "C"
