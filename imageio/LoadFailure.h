#pragma once

#include "imageio/DecodeLimits.h"
#include "imageio/FileBytes.h"

namespace velinor::imageio {

// Why a picture file gave no picture.
struct LoadFailure {
    enum class Kind {
        None,            // it gave a picture
        File,            // the file could not be opened or read (file says why)
        Empty,           // the file holds no bytes
        NotAPicture,     // no decoder recognises it
        LogoOnly,        // a GIF or PCX file: only the picture libraries of the logo routes read those
        Unsupported,     // recognised, but of a kind no decoder reads (what names it)
        Damaged,         // recognised, but its data is corrupt or cut short
        TooManyPixels,   // more pixels than the pixel limit (PixelLimit) allows (size says how many)
        FileTooLarge,    // far larger than any picture of the size its header promises
        OutOfMemory,     // the picture did not fit in memory
        LibraryMissing,  // the picture library that reads this logo is missing or damaged
    };
    constexpr LoadFailure() = default;
    constexpr LoadFailure(Kind why) : kind(why) {}   // NOLINT: a kind alone is a whole failure

    Kind kind = Kind::None;
    ReadFailure file = ReadFailure::None;   // for File
    PictureSize size;                       // for TooManyPixels: the promised size
    const char* what = "";                  // for Unsupported, as "a 2-bit BMP"
};

// The failure of a picture whose file could not be opened or read.
constexpr LoadFailure FileFailure(ReadFailure why) {
    if (why == ReadFailure::OutOfMemory) return LoadFailure::Kind::OutOfMemory;
    LoadFailure failure(LoadFailure::Kind::File);
    failure.file = why;
    return failure;
}

// A picture refused for having width x height pixels, more than the pixel limit.
constexpr LoadFailure TooManyPixels(PictureSize size) {
    LoadFailure failure(LoadFailure::Kind::TooManyPixels);
    failure.size = size;
    return failure;
}

// A picture of a kind no decoder reads: what names it ("a 2-bit BMP").
constexpr LoadFailure UnsupportedKind(const char* what) {
    LoadFailure failure(LoadFailure::Kind::Unsupported);
    failure.what = what;
    return failure;
}

}  // namespace velinor::imageio
