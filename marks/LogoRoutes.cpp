#include "marks/LogoRoutes.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>

#include "imageio/FileNames.h"
#include "imageio/Loader.h"
#include "imageio/PictureHead.h"
#include "marks/PluginLibrary.h"
#include "plugins/PluginApi.h"
#include "render/ImageNumbers.h"
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

// Why a picture library gave no picture for path. The library says nothing, so the file is
// looked at through the loader's own checks: its problem when it cannot be opened, then the
// library when it could not be loaded, then what the file's first bytes are.
imageio::LoadFailure LibraryFailure(const std::string& path, bool libraryLoaded) {
    using Kind = imageio::LoadFailure::Kind;
    auto file = imageio::PictureFile::Open(path);
    if (!file) return imageio::FileFailure(file.failure);
    if (file->Size() == 0) return Kind::Empty;
    if (!libraryLoaded) return Kind::LibraryMissing;
    const imageio::HeadVerdict verdict = imageio::JudgeHead(file->Head(), file->Size(), imageio::DecodeLimits{});
    return verdict.kind == imageio::HeadVerdict::Kind::NotAPicture ? Kind::NotAPicture : Kind::Damaged;
}

// Where a library route reports its failure; a sink when the caller does not ask.
class FailureReport {
public:
    explicit FailureReport(imageio::LoadFailure* target) : target_(target != nullptr ? target : &ignored_) {
        *target_ = {};
    }
    void Set(imageio::LoadFailure failure) { *target_ = failure; }
    void Library(const std::string& path, bool loaded) { Set(LibraryFailure(path, loaded)); }

private:
    imageio::LoadFailure ignored_;
    imageio::LoadFailure* target_;
};

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

render::ImageHandle LoadLibraryPicture(render::ImageRegistry& images, int number, const std::string& path,
                                       imageio::LoadFailure* failure) {
    FailureReport report(failure);
    images.DropImage(number);
    try {
        // The library stays open until its bitmap has been copied and released.
        PluginLibrary library(VELINOR_IMAGE323_PATH);
        const auto load = library.Find<VelinorLoadImageFileFn>("LoadImageFile");
        const auto release = library.Find<VelinorReleaseImageFileFn>("ReleaseImageFile");
        if (load == nullptr || release == nullptr) {
            report.Library(path, false);
            return nullptr;
        }
        std::optional<render::RasterImage> picture;
        {
            const auto bitmap = OwnedBitmap(load(0, path.c_str()), release);
            if (bitmap) picture = CopyBitmap(bitmap.get(), bitmap->width, bitmap->height);
        }  // the library's copy is gone before the picture is stored
        if (!picture) {
            report.Library(path, true);
            return nullptr;
        }
        return images.StoreImage(number, std::move(*picture));
    } catch (const std::bad_alloc&) {
        images.DropImage(number);
        report.Set(imageio::LoadFailure::Kind::OutOfMemory);
        return nullptr;
    }
}

render::ImageHandle LoadPcxPicture(render::ImageRegistry& images, int number, const std::string& path,
                                   imageio::LoadFailure* failure) {
    FailureReport report(failure);
    try {
        PluginLibrary library(VELINOR_NVIEWLIB_PATH);
        const auto load = library.Find<VelinorNViewLibLoadFn>("NViewLibLoad");
        const auto width = library.Find<VelinorGetSizeFn>("GetWidth");
        const auto height = library.Find<VelinorGetSizeFn>("GetHeight");
        const auto release = library.Find<VelinorNViewLibReleaseFn>("NViewLibRelease");
        if (load == nullptr || width == nullptr || height == nullptr || release == nullptr) {
            report.Library(path, false);
            return nullptr;
        }

        images.DropImage(number);
        std::optional<render::RasterImage> picture;
        {
            const auto bitmap = OwnedBitmap(load(path.c_str(), 0), release);
            picture = CopyBitmap(bitmap.get(), width(), height());
        }
        if (!picture) {
            report.Library(path, true);
            return nullptr;
        }
        return images.StoreImage(number, std::move(*picture));
    } catch (const std::bad_alloc&) {
        images.DropImage(number);
        report.Set(imageio::LoadFailure::Kind::OutOfMemory);
        return nullptr;
    }
}

LogoLoad LoadLogoPicture(render::ImageRegistry& images, const std::string& logoFile) {
    // The old logo goes first, so it never shares memory with the new one.
    images.DropImage(render::pic::PicLogo);
    const LogoRouteChoice choice = LogoRouteFor(logoFile);
    LogoLoad result;
    result.keyed = choice.keyed;
    switch (choice.route) {
        case LogoRoute::Library:
            result.handle = LoadLibraryPicture(images, render::pic::PicLogo, logoFile, &result.failure);
            break;
        case LogoRoute::Pcx:
            // Decoded straight into the logo: a PCX buffer image beside it would double the
            // memory a large logo takes, and nothing reads such a buffer.
            images.DropImage(render::pic::PicPcxBuffer);
            result.handle = LoadPcxPicture(images, render::pic::PicLogo, logoFile, &result.failure);
            break;
        case LogoRoute::Picture:
            result.handle = imageio::LoadPicture(images, render::pic::PicLogo, logoFile, result.failure);
            break;
    }
    return result;
}

}  // namespace velinor::marks
