#include "imageio/Loader.h"

#include <exception>
#include <vector>

#include "imageio/JpegDecoder.h"
#include "imageio/PictureDecoder.h"
#include "imageio/PictureHead.h"

namespace velinor::imageio {

namespace {

thread_local LoadProblem lastProblem;

using Kind = LoadProblem::Kind;

std::optional<render::RasterImage> DecodeFile(const std::string& path, LoadProblem& problem, RowWatcher* watcher,
                                              PictureMetadata* metadata) {
    auto file = PictureFile::Open(path);
    if (!file) {
        problem.kind = Kind::Unreadable;
        return std::nullopt;
    }
    const DecodeLimits limits;
    const HeadVerdict verdict = JudgeHead(file->Head(), file->Size(), limits);
    std::optional<render::RasterImage> picture;
    switch (verdict.kind) {
        case HeadVerdict::Kind::Stream:
            picture = DecodeJpegFile(file->Stream(), limits, &problem.size, watcher, metadata);
            if (!picture && problem.size.width > 0) problem.kind = Kind::TooManyPixels;
            break;
        case HeadVerdict::Kind::Read: {
            const auto bytes = file->ReadAll();
            if (!bytes) {
                problem.kind = Kind::Unreadable;
                return std::nullopt;
            }
            picture = DecodePicture(bytes->Bytes(), IconChoice::Best, limits, metadata);
            break;
        }
        case HeadVerdict::Kind::TooManyPixels:
            problem.kind = Kind::TooManyPixels;
            problem.size = {verdict.width, verdict.height};
            return std::nullopt;
        case HeadVerdict::Kind::TooLarge:
            problem.kind = Kind::TooLarge;
            return std::nullopt;
        case HeadVerdict::Kind::NotAPicture:
            break;
    }
    if (!picture && problem.kind == Kind::None) problem.kind = Kind::NotAPicture;
    return picture;
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
std::optional<render::RasterImage> DecodePictureFile(const std::string& path, RowWatcher* watcher,
                                                     PictureMetadata* metadata) {
    lastProblem = {};
    if (metadata != nullptr) *metadata = {};
    try {
        return DecodeFile(path, lastProblem, watcher, metadata);
    } catch (const std::exception&) {
        lastProblem.kind = Kind::Unreadable;
        return std::nullopt;
    }
}

LoadProblem LastLoadProblem() { return lastProblem; }

std::optional<render::RasterImage> DecodePictureMemory(std::span<const std::uint8_t> bytes) {
    try {
        return DecodePicture(bytes, IconChoice::First);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

render::ImageHandle LoadPicture(render::ImageRegistry& images, int number, const std::string& path,
                                PictureMetadata* metadata) {
    // The old picture goes first, so a failed load leaves the number empty.
    images.DropImage(number);
    return Store(images, number, DecodePictureFile(path, nullptr, metadata));
}

render::ImageHandle ImageFromMemory(render::ImageRegistry& images, int number,
                                    std::span<const std::uint8_t> bytes) {
    images.DropImage(number);
    return Store(images, number, DecodePictureMemory(bytes));
}

}  // namespace velinor::imageio
