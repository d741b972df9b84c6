#pragma once

#include <optional>
#include <string>
#include <vector>

#include "imageio/LoadFailure.h"
#include "imageio/PictureKinds.h"
#include "imageio/PictureMetadata.h"
#include "render/RasterImage.h"
#include "stamping/OutputFiles.h"
#include "stamping/SourceFiles.h"
#include "stamping/StampMarks.h"
#include "stamping/StampResources.h"
#include "stamping/StampSettings.h"
#include "stamping/TextVariables.h"

// One picture stamped: read, marked, written with its metadata under its name.
namespace velinor::stamping {

// Draws every mark of settings onto picture, in their order (texture frame, circle frame, logo,
// text); the text's variables are filled in from facts.
void DrawStamp(render::RasterImage& picture, const StampSettings& settings, const StampResources& resources,
               MarkDrawer& drawer, const PictureFacts& facts);

// Writes picture as the window's save and the batch run write it: the writer for encoder, the
// JPEG quality of settings, the metadata of the file it came from made true to it as settings
// choose. False when it could not be written.
bool WriteStamped(const render::RasterImage& picture, const std::string& path, std::uint32_t encoder,
                  const StampSettings& settings, const imageio::PictureMetadata& metadata);

// How the outputs of a run are named and placed.
struct OutputChoices {
    std::optional<imageio::PictureKind> format;   // none: the source's own (see FormatFor)
    std::string nameTemplate = "{stem}.{ext}";
    OnExists onExists = OnExists::Unique;
    std::string date;                             // {date}
};

// One picture of a run: its file, the folder its output goes to, its place in the run.
struct StampJob {
    std::string source;
    std::string outputFolder;   // no trailing '/'
    int number = 0;             // 1-based
    int count = 0;
};

enum class StampStatus { Ok, Skipped, Failed };

struct StampOutcome {
    StampStatus status = StampStatus::Failed;
    std::string output;                  // the file written, or the name that was taken
    std::string reason;                  // why it was skipped or failed (not for a read failure)
    std::optional<imageio::LoadFailure> readFailure;   // the picture did not load
    int width = 0, height = 0;
    std::vector<std::string> warnings;   // metadata blocks left out
};

// Reads the job's picture, stamps it and writes it to a temporary file in its folder, which then
// takes its name as choices say; a name taken when the run skips such pictures is found before
// the picture is read.
StampOutcome StampOnePicture(const StampJob& job, const StampSettings& settings, const OutputChoices& choices,
                             const StampResources& resources, MarkDrawer& drawer, const SourceFiles& sources);

}  // namespace velinor::stamping
