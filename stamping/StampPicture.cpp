#include "stamping/StampPicture.h"

#include "imageio/Loader.h"
#include "imageio/Writer.h"
#include "stamping/LosslessStamp.h"

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
                             const StampResources& resources, MarkDrawer& drawer, const ReadFiles& reads) {
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
    if (!nameNeedsMetadata && choices.onExists == OnExists::Overwrite) {
        const std::string wanted = job.outputFolder + "/" + name;
        outcome.reason = reads.Refusal(wanted);
        if (!outcome.reason.empty()) {
            outcome.output = wanted;
            return outcome;
        }
    }

    imageio::PictureMetadata metadata;
    LosslessJpeg lossless;
    std::string notice;
    const bool blockByBlock = settings.lossless && format.encoder == imageio::kEncoderJpeg &&
                              lossless.Open(job.source, metadata, notice) == LosslessJpeg::Opened::Ready;
    imageio::LoadResult loaded;
    if (blockByBlock) {
        outcome.width = lossless.Width();
        outcome.height = lossless.Height();
    } else {
        metadata = {};
        loaded = imageio::DecodePictureFile(job.source, nullptr, &metadata);
        // A file that does not load at all fails with its own reason instead.
        if (!notice.empty() && loaded.image) outcome.warnings.push_back(notice);
    }
    outcome.warnings.insert(outcome.warnings.end(), metadata.warnings.begin(), metadata.warnings.end());
    if (!blockByBlock && !loaded.image) {
        outcome.readFailure = loaded.failure;
        return outcome;
    }
    if (!blockByBlock) {
        outcome.width = loaded.image->width;
        outcome.height = loaded.image->height;
    }
    facts.metadata = &metadata;
    if (nameNeedsMetadata) name = SafeFileName(FillVariables(choices.nameTemplate, facts));
    if (name.empty()) {
        outcome.reason = "the name template gives no file name";
        return outcome;
    }

    if (!blockByBlock) DrawStamp(*loaded.image, settings, resources, drawer, facts);

    PendingOutput output(job.outputFolder, name);
    if (!output.Create(outcome.reason)) return outcome;
    bool written = blockByBlock
                       ? lossless.Stamp(settings, resources, drawer, facts, metadata, output.TemporaryPath())
                       : WriteStamped(*loaded.image, output.TemporaryPath(), format.encoder, settings, metadata);
    if (!written && blockByBlock && lossless.ReachedMore()) {
        outcome.warnings.push_back(LosslessNotice("marks that reach further over the picture than over nothing"));
        imageio::PictureMetadata again;
        loaded = imageio::DecodePictureFile(job.source, nullptr, &again);
        if (loaded.image) {
            DrawStamp(*loaded.image, settings, resources, drawer, facts);
            written = WriteStamped(*loaded.image, output.TemporaryPath(), format.encoder, settings, metadata);
        }
    }
    if (!written) {
        outcome.reason = "could not be written in " + job.outputFolder + " (is the disk full?)";
        return outcome;
    }
    const PendingOutput::Result placed = output.Commit(choices.onExists, reads);
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
