#pragma once

#include <cstdint>
#include <span>

#include "imageio/DecodeLimits.h"
#include "render/RasterImage.h"

namespace velinor::imageio {

// What a picture file's first bytes and its size say before the rest is read.
struct HeadVerdict {
    enum class Kind {
        Read,           // read the whole file and decode it
        Stream,         // a JPEG file: its decoder reads as it goes and checks the size itself
        NotAPicture,    // no decoder takes a file that starts like this
        LogoOnly,       // a GIF or PCX file, which only the logo routes' libraries read
        Unsupported,    // a known format, but a kind of it no decoder reads (what names it)
        Damaged,        // a known format whose header makes no sense
        TooManyPixels,  // the header promises more pixels than the limit allows
        TooLarge,       // the file is far larger than any picture of the promised size
    };
    Kind kind = Kind::NotAPicture;
    long long width = 0;   // the promised size, where the header gives one
    long long height = 0;
    const char* what = "";
};

// What a picture is when its sides are beyond what the program's images can hold.
constexpr const char* kOversizedSides = "a picture wider or higher than 32767 pixels";
static_assert(render::kMaxImageSide == 32767);

// The verdict on a picture whose header promises width x height: TooManyPixels beyond the
// pixel limit, Unsupported beyond the largest side, Damaged for a side of zero; otherwise Read.
HeadVerdict JudgeSize(long long width, long long height, const DecodeLimits& limits);

// Judges a file by its head (its first bytes, or all of it when shorter) in the order the
// decoders are tried: bitmap, icon, JPEG, PNG, TGA. A file may be at most the size its
// format could take for the promised picture in its fattest encoding plus room for metadata,
// so a file of hundreds of megabytes with a small or broken header is refused unread.
HeadVerdict JudgeHead(std::span<const std::uint8_t> head, std::uintmax_t file_size, const DecodeLimits& limits);

}  // namespace velinor::imageio
