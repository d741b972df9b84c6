#include "marks/LogoRoutes.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>

#include "imageio/DecodeLimits.h"
#include "imageio/FileNames.h"
#include "imageio/Loader.h"
#include "plugins/PluginHost.h"
#include "plugins/PluginApi.h"
#include "render/PixelStore.h"

namespace velinor::marks {
namespace {

struct RouteEntry {
    const char* extension;
    LogoRoute route;
    int keyed;
};

// Compared exactly, case included, in this order; an extension not listed takes LoadPicture.
constexpr RouteEntry kRoutes[] = {
    {"gif", LogoRoute::Library, 1}, {"GIF", LogoRoute::Library, 1},
    {"tga", LogoRoute::Picture, 0}, {"TGA", LogoRoute::Picture, 0},
    {"pcx", LogoRoute::Pcx, 1},     {"PCX", LogoRoute::Pcx, 1},
    {"ico", LogoRoute::Library, 1}, {"ICO", LogoRoute::Library, 1},
};

// Copies a library's bitmap into an image of width x height: pasted at (0, 0), what lies
// outside either picture is cut off or stays black. Nothing when the fields do not describe a
// usable picture. Throws std::bad_alloc when memory runs out.
std::optional<render::RasterImage> CopyBitmap(const VelinorBitmap* bitmap, int width, int height) {
    if (bitmap == nullptr || bitmap->pixels == nullptr) return std::nullopt;
    if (!render::ValidImageSize(width, height) || !render::ValidImageSize(bitmap->width, bitmap->height)) return std::nullopt;
    if (!imageio::FitsLimits(width, height, imageio::DecodeLimits{})) return std::nullopt;
    render::RasterImage image;
    image.width = width;
    image.height = height;
    const int columns = std::min(width, bitmap->width);
    const int rows = std::min(height, bitmap->height);
    image.pixels = render::MakePixels(static_cast<std::size_t>(width) * height, render::kBlack);
    for (int y = 0; y < rows; ++y) {
        const std::uint32_t* source = bitmap->pixels + static_cast<std::size_t>(y) * bitmap->width;
        render::Color* target = image.pixels.data() + static_cast<std::size_t>(y) * width;
        // Pixels carry no top byte in the program's images.
        for (int x = 0; x < columns; ++x) target[x] = source[x] & 0xFFFFFFu;
    }
    return image;
}

// Tells the library the process's pixel limit, so that it refuses a picture declaring more
// before allocating for it. False when the library cannot be told: it is then not used.
bool PassPixelLimit(const plugins::PluginLibrary& library) {
    const auto setLimit = library.Find<VelinorSetPixelLimitFn>(VELINOR_SET_PIXEL_LIMIT);
    if (setLimit == nullptr) return false;
    setLimit(imageio::PixelLimit());
    return true;
}

template <typename Release>
auto OwnedBitmap(VelinorBitmap* bitmap, Release release) {
    return std::unique_ptr<VelinorBitmap, Release>(bitmap, release);
}

}  // namespace

LogoRouteChoice LogoRouteFor(const std::string& logoFile) {
    const std::string extension = imageio::ExtensionPart(logoFile);
    for (const RouteEntry& entry : kRoutes) {
        if (extension == entry.extension) return {entry.route, entry.keyed};
    }
    return {};
}

render::ImageHandle LoadLibraryPicture(render::ImageRegistry& images, int number, const std::string& path) {
    images.DropImage(number);
    try {
        // The library stays open until its bitmap has been copied and released.
        plugins::PluginLibrary library(VELINOR_IMAGE323_PATH);
        const auto load = library.Find<VelinorLoadImageFileFn>("LoadImageFile");
        const auto release = library.Find<VelinorReleaseImageFileFn>("ReleaseImageFile");
        if (load == nullptr || release == nullptr || !PassPixelLimit(library)) return nullptr;
        std::optional<render::RasterImage> picture;
        {
            const auto bitmap = OwnedBitmap(load(0, path.c_str()), release);
            if (!bitmap) return nullptr;
            picture = CopyBitmap(bitmap.get(), bitmap->width, bitmap->height);
        }  // the library's copy is gone before the picture is stored
        if (!picture) return nullptr;
        return images.StoreImage(number, std::move(*picture));
    } catch (const std::bad_alloc&) {
        images.DropImage(number);
        return nullptr;
    }
}

render::ImageHandle LoadPcxPicture(render::ImageRegistry& images, int number, const std::string& path) {
    try {
        plugins::PluginLibrary library(VELINOR_NVIEWLIB_PATH);
        const auto load = library.Find<VelinorNViewLibLoadFn>("NViewLibLoad");
        const auto width = library.Find<VelinorGetSizeFn>("GetWidth");
        const auto height = library.Find<VelinorGetSizeFn>("GetHeight");
        const auto release = library.Find<VelinorNViewLibReleaseFn>("NViewLibRelease");
        if (load == nullptr || width == nullptr || height == nullptr || release == nullptr) return nullptr;
        if (!PassPixelLimit(library)) return nullptr;

        images.DropImage(number);
        std::optional<render::RasterImage> picture;
        {
            const auto bitmap = OwnedBitmap(load(path.c_str(), 0), release);
            picture = CopyBitmap(bitmap.get(), width(), height());
        }
        if (!picture) return nullptr;
        return images.StoreImage(number, std::move(*picture));
    } catch (const std::bad_alloc&) {
        images.DropImage(number);
        return nullptr;
    }
}

LogoLoad LoadLogoPicture(render::ImageRegistry& images, int number, const std::string& logoFile) {
    // The old logo goes first, so it never shares memory with the new one.
    images.DropImage(number);
    const LogoRouteChoice choice = LogoRouteFor(logoFile);
    LogoLoad result;
    result.keyed = choice.keyed;
    switch (choice.route) {
        case LogoRoute::Library:
            result.handle = LoadLibraryPicture(images, number, logoFile);
            break;
        case LogoRoute::Pcx:
            result.handle = LoadPcxPicture(images, number, logoFile);
            break;
        case LogoRoute::Picture:
            result.handle = imageio::LoadPicture(images, number, logoFile);
            break;
    }
    return result;
}

}  // namespace velinor::marks
