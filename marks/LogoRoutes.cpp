#include "marks/LogoRoutes.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>

#include "files/ProgramFiles.h"
#include "imageio/DecodeLimits.h"
#include "imageio/FileNames.h"
#include "imageio/Loader.h"
#include "imageio/PictureHead.h"
#include "imageio/PictureKinds.h"
#include "plugins/PluginHost.h"
#include "plugins/PluginApi.h"
#include "render/PixelStore.h"

namespace velinor::marks {
namespace {

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

// The end of both library routes: the picture copied from the library's bitmap is stored as
// number; with no copy, the library could not read path (number stays empty).
render::ImageHandle StoreCopy(render::ImageRegistry& images, int number, const std::string& path,
                              FailureReport& report, std::optional<render::RasterImage> picture) {
    if (!picture) {
        report.Library(path, true);
        return nullptr;
    }
    return images.StoreImage(number, std::move(*picture));
}

// Memory ran out on a library route: number is left empty.
render::ImageHandle OutOfMemory(render::ImageRegistry& images, int number, FailureReport& report) {
    images.DropImage(number);
    report.Set(imageio::LoadFailure::Kind::OutOfMemory);
    return nullptr;
}

}  // namespace

LogoRouteChoice LogoRouteFor(const std::string& logoFile) {
    // Only the spellings marked for a library take one; any other, "Gif" or "tga" alike, takes
    // LoadPicture.
    const auto kind = imageio::KindFor(imageio::ExtensionPart(logoFile), imageio::kLogoLibrary);
    if (!kind) return {};
    return {*kind == imageio::PictureKind::Pcx ? LogoRoute::Pcx : LogoRoute::Library, true};
}

render::ImageHandle LoadLibraryPicture(render::ImageRegistry& images, int number, const std::string& path,
                                       imageio::LoadFailure* failure) {
    FailureReport report(failure);
    images.DropImage(number);
    try {
        // The library stays open until its bitmap has been copied and released.
        plugins::PluginLibrary library(files::LibraryPath(VELINOR_IMAGE323_NAME));
        const auto load = library.Find<VelinorLoadImageFileFn>("LoadImageFile");
        const auto release = library.Find<VelinorReleaseImageFileFn>("ReleaseImageFile");
        if (load == nullptr || release == nullptr || !PassPixelLimit(library)) {
            report.Library(path, false);
            return nullptr;
        }
        std::optional<render::RasterImage> picture;
        {
            const auto bitmap = OwnedBitmap(load(0, path.c_str()), release);
            if (bitmap) picture = CopyBitmap(bitmap.get(), bitmap->width, bitmap->height);
        }  // the library's copy is gone before the picture is stored
        return StoreCopy(images, number, path, report, std::move(picture));
    } catch (const std::bad_alloc&) {
        return OutOfMemory(images, number, report);
    }
}

render::ImageHandle LoadPcxPicture(render::ImageRegistry& images, int number, const std::string& path,
                                   imageio::LoadFailure* failure) {
    FailureReport report(failure);
    try {
        plugins::PluginLibrary library(files::LibraryPath(VELINOR_NVIEWLIB_NAME));
        const auto load = library.Find<VelinorNViewLibLoadFn>("NViewLibLoad");
        const auto width = library.Find<VelinorGetSizeFn>("GetWidth");
        const auto height = library.Find<VelinorGetSizeFn>("GetHeight");
        const auto release = library.Find<VelinorNViewLibReleaseFn>("NViewLibRelease");
        if (load == nullptr || width == nullptr || height == nullptr || release == nullptr ||
            !PassPixelLimit(library)) {
            report.Library(path, false);
            return nullptr;
        }

        images.DropImage(number);
        std::optional<render::RasterImage> picture;
        {
            const auto bitmap = OwnedBitmap(load(path.c_str(), 0), release);
            picture = CopyBitmap(bitmap.get(), width(), height());
        }
        return StoreCopy(images, number, path, report, std::move(picture));
    } catch (const std::bad_alloc&) {
        return OutOfMemory(images, number, report);
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
            result.handle = LoadLibraryPicture(images, number, logoFile, &result.failure);
            break;
        case LogoRoute::Pcx:
            result.handle = LoadPcxPicture(images, number, logoFile, &result.failure);
            break;
        case LogoRoute::Picture:
            result.handle = imageio::LoadPicture(images, number, logoFile, result.failure);
            break;
    }
    return result;
}

}  // namespace velinor::marks
