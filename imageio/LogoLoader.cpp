#include "imageio/LogoLoader.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "imageio/Loader.h"
#include "imageio/PluginLibrary.h"
#include "imageio/Writer.h"
#include "plugins/PluginApi.h"
#include "render/ImageNumbers.h"

namespace velinor::imageio {
namespace {

enum class LogoRoute { Picture, TemporaryFile, Pcx };

struct RouteEntry {
    const char* extension;
    LogoRoute route;
    int keyed;
};

// Compared exactly, case included, in this order; an extension not listed takes LoadPicture.
constexpr RouteEntry kRoutes[] = {
    {"gif", LogoRoute::TemporaryFile, 1}, {"GIF", LogoRoute::TemporaryFile, 1},
    {"tga", LogoRoute::Picture, 0},       {"TGA", LogoRoute::Picture, 0},
    {"pcx", LogoRoute::Pcx, 1},           {"PCX", LogoRoute::Pcx, 1},
    {"ico", LogoRoute::TemporaryFile, 1}, {"ICO", LogoRoute::TemporaryFile, 1},
};

// Copies a library's bitmap into an image; nothing when its fields are not a usable picture.
std::optional<render::RasterImage> CopyBitmap(const VelinorBitmap* bitmap, int width, int height) {
    if (bitmap == nullptr || bitmap->pixels == nullptr) return std::nullopt;
    if (!render::ValidImageSize(width, height) || !render::ValidImageSize(bitmap->width, bitmap->height)) return std::nullopt;
    render::RasterImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, render::kBlack);
    // Pasted at (0, 0): what lies outside either picture is cut off or stays black.
    const int columns = std::min(width, bitmap->width);
    const int rows = std::min(height, bitmap->height);
    for (int y = 0; y < rows; ++y) {
        const std::uint32_t* source = bitmap->pixels + static_cast<std::size_t>(y) * bitmap->width;
        std::copy(source, source + columns, image.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
    }
    return image;
}

template <typename Release>
auto OwnedBitmap(VelinorBitmap* bitmap, Release release) {
    return std::unique_ptr<VelinorBitmap, Release>(bitmap, release);
}

}  // namespace

render::ImageHandle LoadThroughTemporaryFile(render::ImageRegistry& images, int number, const std::string& path,
                                             bool keepTemporary) {
    images.DropImage(number);
    render::ImageHandle handle = nullptr;
    {
        // The library stays open until its bitmap is released and the picture read back.
        PluginLibrary library(VELINOR_IMAGE323_PATH);
        const auto load = library.Find<VelinorLoadImageFileFn>("LoadImageFile");
        const auto release = library.Find<VelinorReleaseImageFileFn>("ReleaseImageFile");
        if (load == nullptr || release == nullptr) return nullptr;
        const auto bitmap = OwnedBitmap(load(0, path.c_str()), release);
        if (!bitmap) {
            if (!keepTemporary) std::remove(kTemporaryPicture);
            return nullptr;
        }
        const auto picture = CopyBitmap(bitmap.get(), bitmap->width, bitmap->height);
        if (picture && SavePicture(&*picture, kTemporaryPicture, kEncoderBmp) == 1)
            handle = LoadPicture(images, number, kTemporaryPicture);
    }
    if (!keepTemporary) std::remove(kTemporaryPicture);
    return handle;
}

render::ImageHandle LoadPcxPicture(render::ImageRegistry& images, int number, const std::string& path) {
    PluginLibrary library(VELINOR_NVIEWLIB_PATH);
    const auto load = library.Find<VelinorNViewLibLoadFn>("NViewLibLoad");
    const auto width = library.Find<VelinorGetSizeFn>("GetWidth");
    const auto height = library.Find<VelinorGetSizeFn>("GetHeight");
    const auto release = library.Find<VelinorNViewLibReleaseFn>("NViewLibRelease");
    if (load == nullptr || width == nullptr || height == nullptr || release == nullptr) return nullptr;

    const auto bitmap = OwnedBitmap(load(path.c_str(), 0), release);
    const int w = width();
    const int h = height();
    auto picture = CopyBitmap(bitmap.get(), w, h);
    if (!picture) {
        images.DropImage(number);
        return nullptr;
    }
    return images.StoreImage(number, std::move(*picture));
}

LogoLoad LoadLogoPicture(render::ImageRegistry& images, const std::string& logoFile) {
    images.DropImage(render::pic::PicLogo);
    const std::string extension = ExtensionPart(logoFile);
    LogoRoute route = LogoRoute::Picture;
    LogoLoad result;
    for (const RouteEntry& entry : kRoutes) {
        if (extension == entry.extension) {
            route = entry.route;
            result.keyed = entry.keyed;
            break;
        }
    }
    switch (route) {
        case LogoRoute::TemporaryFile:
            result.handle = LoadThroughTemporaryFile(images, render::pic::PicLogo, logoFile);
            break;
        case LogoRoute::Pcx:
            // The PCX picture stays in its own buffer image until the next PCX load.
            if (LoadPcxPicture(images, render::pic::PicPcxBuffer, logoFile) != nullptr)
                result.handle = images.CloneImage(render::pic::PicPcxBuffer, render::pic::PicLogo);
            break;
        case LogoRoute::Picture:
            result.handle = LoadPicture(images, render::pic::PicLogo, logoFile);
            break;
    }
    return result;
}

}  // namespace velinor::imageio
