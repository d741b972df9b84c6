#include "stamping/StagedPicture.h"

#include <new>

#include "imageio/Loader.h"
#include "stamping/LosslessStamp.h"

namespace velinor::stamping {

StagedPicture StagePicture(const std::string& source, const std::string& output, const StageChoices& choices,
                           const DrawMarks& draw, const MarkRows& marks) {
    StagedPicture staged;
    try {
        imageio::PictureMetadata metadata;
        imageio::LoadResult loaded;
        // Declared after the picture, so that it stops reading the picture before the picture goes.
        std::optional<EncodeBehind> behind;
        if (marks && choices.encoder == imageio::kEncoderJpeg && !choices.keepQuality) {
            behind.emplace(output, choices.quality, choices.metadata, metadata, marks);
        }
        loaded = imageio::DecodePictureFile(source, behind ? &*behind : nullptr, &metadata);
        staged.notices = metadata.warnings;
        if (!loaded.image) {
            staged.status = StagedPicture::Status::NotLoaded;
            return staged;
        }
        render::RasterImage& picture = *loaded.image;
        if (behind && !behind->Writing(picture)) behind.reset();
        if (!draw(picture)) {
            staged.status = StagedPicture::Status::NotDrawn;
            return staged;
        }
        if (behind) {
            staged.file = behind->Drawn();
        } else if (choices.keepQuality && choices.encoder == imageio::kEncoderJpeg) {
            std::string notice;
            staged.file = WriteKeepingQualityAside(source, picture, choices.metadata, output, notice);
            if (!staged.file && !notice.empty()) staged.notices.push_back(notice);
        }
        if (!staged.file) {
            staged.file = imageio::WritePictureAside(&picture, output, choices.encoder, choices.quality, &metadata,
                                                     choices.metadata);
        }
        staged.status = staged.file ? StagedPicture::Status::Ready : StagedPicture::Status::NotWritten;
        if (choices.keepPicture) staged.picture = std::move(picture);
    } catch (const std::bad_alloc&) {
        // Out of memory on a worker fails this picture alone; the temporary file, if any, goes.
        staged.file.reset();
        staged.picture.reset();
        if (staged.status == StagedPicture::Status::Ready) staged.status = StagedPicture::Status::NotWritten;
    }
    return staged;
}

}  // namespace velinor::stamping
