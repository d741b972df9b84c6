#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "imageio/AtomicFile.h"
#include "imageio/PictureMetadata.h"
#include "imageio/Writer.h"
#include "render/RasterImage.h"
#include "stamping/EncodeBehind.h"

// One picture of a run that works ahead: read, marked and written under a temporary name beside
// its output, where it waits for its turn to take the output's name (or to be thrown away).
// Everything here runs on a worker thread: it reads files and writes the temporary one only.
namespace velinor::stamping {

struct StageChoices {
    std::uint32_t encoder = imageio::kEncoderJpeg;
    int quality = imageio::kDefaultJpegQuality;   // 0..10
    imageio::MetadataChoices metadata;
    // A JPEG source keeps its own quality: only the blocks the marks changed are coded again;
    // a picture that cannot (or any other) is encoded again, with a notice saying why.
    bool keepQuality = false;
    bool keepPicture = false;   // the stamped picture is kept in the result
};

struct StagedPicture {
    enum class Status {
        Ready,        // file holds the finished picture
        NotLoaded,    // the picture does not load
        NotDrawn,     // the marks could not be drawn (draw said no)
        NotWritten,   // writing it failed
    };
    Status status = Status::NotWritten;
    // What to tell the user before the picture's own line, in order: metadata blocks left out,
    // and why the quality could not be kept.
    std::vector<std::string> notices;
    std::unique_ptr<imageio::AtomicFile> file;   // Ready: finished, not yet in place
    std::optional<render::RasterImage> picture;  // the stamped picture, when kept
};

// Draws the marks onto the decoded picture; false when it cannot (no logo to draw, say).
using DrawMarks = std::function<bool(render::RasterImage& picture)>;

// Reads source with its metadata, draws on it and writes it beside output as choices say. With
// marks (the rows draw may change), a JPEG written at the run's quality is written while the
// picture is still being decoded (see EncodeBehind): the same file, sooner.
StagedPicture StagePicture(const std::string& source, const std::string& output, const StageChoices& choices,
                           const DrawMarks& draw, const MarkRows& marks = {});

}  // namespace velinor::stamping
