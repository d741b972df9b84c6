#include "imageio/Loader.h"

#include <exception>
#include <new>
#include <vector>

#include "imageio/JpegDecoder.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureHead.h"

namespace velinor::imageio {

namespace {

using Kind = LoadFailure::Kind;

LoadResult Failed(LoadFailure failure) { return {std::nullopt, failure}; }

// A picture the decoder took for its format but gave nothing for is damaged.
LoadResult Decoded(std::optional<render::RasterImage> picture) {
    if (!picture) return Failed(Kind::Damaged);
    return {std::move(picture), LoadFailure()};
}

// The failure of a picture whose header promises width x height beyond the limits.
LoadFailure SizeFailure(const HeadVerdict& verdict) {
    if (verdict.kind == HeadVerdict::Kind::TooManyPixels) {
        return TooManyPixels({verdict.width, verdict.height});
    }
    return UnsupportedKind(verdict.what);
}

LoadResult DecodeFile(const std::string& path, RowWatcher* watcher, PictureMetadata* metadata,
                      const DecodeLimits& limits) {
    auto file = PictureFile::Open(path);
    if (!file) return Failed(FileFailure(file.failure));
    if (file->Size() == 0) return Failed(Kind::Empty);
    const HeadVerdict verdict = JudgeHead(file->Head(), file->Size(), limits);
    switch (verdict.kind) {
        case HeadVerdict::Kind::Stream: {
            PictureSize oversized;
            auto picture = DecodeJpegFile(file->Stream(), limits, &oversized, watcher, metadata);
            if (!picture && oversized.width > 0) {
                return Failed(SizeFailure(JudgeSize(oversized.width, oversized.height, limits)));
            }
            return Decoded(std::move(picture));
        }
        case HeadVerdict::Kind::Read: {
            const auto bytes = file->ReadAll();
            if (!bytes) return Failed(FileFailure(bytes.failure));
            return Decoded(DecodePicture(bytes->Bytes(), IconChoice::Best, limits, metadata));
        }
        case HeadVerdict::Kind::TooManyPixels:
        case HeadVerdict::Kind::Unsupported: return Failed(SizeFailure(verdict));
        case HeadVerdict::Kind::TooLarge: return Failed(Kind::FileTooLarge);
        case HeadVerdict::Kind::Damaged: return Failed(Kind::Damaged);
        case HeadVerdict::Kind::LogoOnly: return Failed(Kind::LogoOnly);
        case HeadVerdict::Kind::NotAPicture: break;
    }
    return Failed(Kind::NotAPicture);
}

render::ImageHandle Store(render::ImageRegistry& images, int number,
                          std::optional<render::RasterImage> picture) {
    if (!picture) {
        images.SelectImage(number);
        return nullptr;
    }
    return images.StoreImage(number, std::move(*picture));
}

}  // namespace

// Decoders validate sizes before allocating, but a large picture may still not fit in memory;
// that is a failed load like any other, not an exception for the caller.
LoadResult DecodePictureFile(const std::string& path, RowWatcher* watcher, PictureMetadata* metadata,
                             const DecodeLimits& limits) {
    if (metadata != nullptr) *metadata = {};
    try {
        return DecodeFile(path, watcher, metadata, limits);
    } catch (const std::bad_alloc&) {
        return Failed(Kind::OutOfMemory);
    } catch (const std::exception&) {
        return Failed(FileFailure(ReadFailure::ReadError));
    }
}

std::optional<render::RasterImage> DecodePictureMemory(std::span<const std::uint8_t> bytes) {
    try {
        return DecodePicture(bytes, IconChoice::First);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

render::ImageHandle LoadPicture(render::ImageRegistry& images, int number, const std::string& path) {
    LoadFailure failure;
    return LoadPicture(images, number, path, failure);
}

render::ImageHandle LoadPicture(render::ImageRegistry& images, int number, const std::string& path,
                                LoadFailure& failure, PictureMetadata* metadata) {
    // The old picture goes first, so a failed load leaves the number empty.
    images.DropImage(number);
    LoadResult result = DecodePictureFile(path, nullptr, metadata);
    failure = result.failure;
    return Store(images, number, std::move(result.image));
}

render::ImageHandle ImageFromMemory(render::ImageRegistry& images, int number,
                                    std::span<const std::uint8_t> bytes) {
    images.DropImage(number);
    return Store(images, number, DecodePictureMemory(bytes));
}

}  // namespace velinor::imageio
