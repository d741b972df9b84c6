#pragma once

#include <string>
#include <string_view>

#include "imageio/PictureMetadata.h"

namespace velinor::stamping {

// What the variables of a text or an output name stand for, for one picture.
struct PictureFacts {
    std::string source;          // the picture's path
    std::string extension;       // the extension its output is written with, without the dot
    int number = 0;              // 1-based place in the run
    int count = 0;               // pictures in the run
    std::string date;            // the day of the run, YYYY-MM-DD
    const imageio::PictureMetadata* metadata = nullptr;
};

// text with its variables filled in: {name} the source's file name, {stem} that name without its
// extension, {ext} the output's extension, {n} and {count} the picture's number and the run's
// size, {date} the day, {exif:TAG} an EXIF tag of the picture (empty when it has none). "{{"
// stands for "{"; a brace that starts no known variable is kept as it is.
std::string FillVariables(std::string_view text, const PictureFacts& facts);

// The day of now in local time, YYYY-MM-DD.
std::string Today();

}  // namespace velinor::stamping
