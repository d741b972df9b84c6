#include "stamping/StampPicture.h"

#include "imageio/Loader.h"
#include "imageio/Writer.h"

namespace velinor::stamping {

void DrawStamp(render::RasterImage& picture, const StampSettings& settings, const StampResources& resources,
               MarkDrawer& drawer, const PictureFacts& facts) {
    if (settings.texture && resources.tile) MarkDrawer::DrawTexture(picture, *settings.texture, *resources.tile);
    if (settings.circles) drawer.DrawCircles(picture, *settings.circles);
    if (settings.logo) drawer.DrawLogo(picture, *settings.logo, resources.Logo(), settings.margins);
    if (settings.text) drawer.DrawText(picture, *settings.text, settings.margins, FillVariables(settings.text->text, facts));
}

bool WriteStamped(const render::RasterImage& picture, const std::string& path, std::uint32_t encoder,
                  const StampSettings& settings, const imageio::PictureMetadata& metadata) {
    return imageio::SavePicture(&picture, path, encoder, settings.quality, &metadata, settings.metadata) == 1;
}

StampOutcome StampOnePicture(const StampJob& job, const StampSettings& settings, const OutputChoices& choices,
                             const StampResources& resources, MarkDrawer& drawer, const SourceFiles& sources) {
    StampOutcome outcome;
    const OutputFormat format = FormatFor(choices.format, job.source);
    PictureFacts facts{job.source, format.extension, job.number, job.count, choices.date, nullptr};
    // A name without {exif:...} is known before the picture is read.
    const bool nameNeedsMetadata = choices.nameTemplate.find("{exif:") != std::string::npos;
    std::string name = nameNeedsMetadata ? std::string() : SafeFileName(FillVariables(choices.nameTemplate, facts));
    if (!nameNeedsMetadata && choices.onExists == OnExists::Skip && NameTaken(job.outputFolder + "/" + name)) {
        outcome.status = StampStatus::Skipped;
        outcome.output = job.outputFolder + "/" + name;
        outcome.reason = outcome.output + " exists";
        return outcome;
    }
    if (!nameNeedsMetadata && choices.onExists == OnExists::Overwrite && sources.Holds(job.outputFolder + "/" + name)) {
        outcome.output = job.outputFolder + "/" + name;
        outcome.reason = "would replace a source picture (" + outcome.output + "); not written";
        return outcome;
    }

    imageio::PictureMetadata metadata;
    imageio::LoadResult loaded = imageio::DecodePictureFile(job.source, nullptr, &metadata);
    outcome.warnings = metadata.warnings;
    if (!loaded.image) {
        outcome.readFailure = loaded.failure;
        return outcome;
    }
    render::RasterImage& picture = *loaded.image;
    outcome.width = picture.width;
    outcome.height = picture.height;
    facts.metadata = &metadata;
    if (nameNeedsMetadata) name = SafeFileName(FillVariables(choices.nameTemplate, facts));
    if (name.empty()) {
        outcome.reason = "the name template gives no file name";
        return outcome;
    }

    DrawStamp(picture, settings, resources, drawer, facts);

    PendingOutput output(job.outputFolder, name);
    if (!output.Create(outcome.reason)) return outcome;
    if (!WriteStamped(picture, output.TemporaryPath(), format.encoder, settings, metadata)) {
        outcome.reason = "could not be written in " + job.outputFolder + " (is the disk full?)";
        return outcome;
    }
    const PendingOutput::Result placed = output.Commit(choices.onExists, sources);
    outcome.output = placed.path;
    outcome.reason = placed.problem;
    switch (placed.placed) {
        case PendingOutput::Placed::Written: outcome.status = StampStatus::Ok; break;
        case PendingOutput::Placed::Skipped: outcome.status = StampStatus::Skipped; break;
        case PendingOutput::Placed::Refused:
        case PendingOutput::Placed::Failed: outcome.status = StampStatus::Failed; break;
    }
    return outcome;
}

}  // namespace velinor::stamping
