#include "stamping/StampResources.h"

#include "imageio/Loader.h"
#include "marks/LogoRoutes.h"
#include "render/ImageRegistry.h"
#include "render/PixelStore.h"

namespace velinor::stamping {

namespace {

constexpr int kSlot = 1;

}  // namespace

std::optional<ResourceProblem> LoadStampResources(const StampSettings& settings, StampResources& resources) {
    if (settings.logo) {
        render::ImageRegistry images;
        const marks::LogoLoad load = marks::LoadLogoPicture(images, kSlot, settings.logo->file);
        if (load.handle == nullptr) return ResourceProblem{settings.logo->file, load.failure, true};
        resources.logo = render::CopyImage(*load.handle);
        if (!resources.logo) return ResourceProblem{settings.logo->file, imageio::LoadFailure::Kind::OutOfMemory, true};
        resources.logoKeyed = load.keyed;
        resources.keyColour = settings.logo->keyColour ? *settings.logo->keyColour : resources.logo->At(0, 0);
    }
    if (settings.texture) {
        imageio::LoadResult tile = imageio::DecodePictureFile(settings.texture->tile);
        if (!tile.image) return ResourceProblem{settings.texture->tile, tile.failure, false};
        resources.tile = std::move(tile.image);
    }
    return std::nullopt;
}

}  // namespace velinor::stamping
