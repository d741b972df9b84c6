#include <cstdint>
#include <optional>
#include <string>

#include "app/Handlers.h"
#include "app/Messages.h"
#include "app/QualityWindow.h"
#include "app/RenderCycle.h"
#include "app/TextKeys.h"
#include "imageio/FileNames.h"
#include "imageio/PictureKinds.h"
#include "imageio/Writer.h"
#include "stamping/LosslessStamp.h"
#include "app/ImageNumbers.h"
#include "stamping/StampPicture.h"

// Opening and saving the picture being edited.
namespace velinor::app::handlers {

namespace {

using platform::ControlId;

std::string FolderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void OpenPicture(ProgramState& state, ControlId) {
    platform::Platform& p = state.platform;
    ShellState& shell = state.shell;

    platform::FileRequest request;
    request.title = state.texts[kTextPictures];
    request.defaultFile = shell.DefaultDir;
    request.pattern = imageio::PatternText(imageio::FilePattern::Open);
    request.patternIndex = 0;
    const std::string chosen = p.OpenFileRequester(request);
    if (chosen.empty()) return;

    // A file that does not open costs nothing: the picture, the result and the work on them stay.
    const std::string previous = shell.CurrentFile;
    shell.CurrentFile = chosen;
    if (!ShowOpenedPicture(state)) {
        shell.CurrentFile = previous;
        p.MessageBox(state.texts[kTextWarning], state.texts[kTextNotOpened] + chosen,
                     platform::MessageIcon::Warning, platform::MessageButtons::Ok);
        return;
    }
    p.SetState(ControlId::OptLogoPos1, 1);
    p.SetState(ControlId::OptTextPos1, 1);
    shell.PictureLoaded = true;
}

void SaveResult(ProgramState& state, ControlId) {
    platform::Platform& p = state.platform;
    ShellState& shell = state.shell;

    if (!state.images.HasImage(pic::PicResult)) {
        p.MessageBox(state.texts[kTextInformation],
                     state.texts[kTextNoResult] + "\r" + state.texts[kTextApplyFirst],
                     platform::MessageIcon::Information, platform::MessageButtons::Ok);
        return;
    }

    platform::FileRequest request;
    request.title = state.texts[kTextSavePicture];
    request.defaultFile = shell.DefaultDir.empty() ? std::string("*.*") : shell.DefaultDir;
    request.pattern = imageio::PatternText(imageio::FilePattern::Save);
    request.patternIndex = 0;
    // Without a default folder the result goes beside the picture it was made from.
    request.folderHint = FolderPart(shell.CurrentFile);
    const platform::SaveAnswer answer = p.SaveFileRequester(request);
    shell.SaveFileName = answer.path;
    const int index = answer.path.empty() ? -1 : answer.patternIndex;

    // The overwrite question is about the name as typed: a name that only gains its extension
    // below is not looked for.
    const std::string extension = imageio::ExtensionPart(shell.SaveFileName);
    if (imageio::FileExistsInFolder(imageio::FilePart(shell.SaveFileName), FolderPart(shell.SaveFileName)) == 1) {
        const platform::MessageAnswer overwrite =
            p.MessageBox(state.texts[kTextInformation], state.texts[kTextOverwrite],
                         platform::MessageIcon::Warning, platform::MessageButtons::YesNo);
        if (overwrite != platform::MessageAnswer::Yes) return;
    }

    // The pattern chosen sets the format; a name that already ends in one of its extensions
    // keeps it, any other gets the format's own appended.
    const std::optional<imageio::PictureKind> kind = imageio::PatternKind(imageio::FilePattern::Save, index);
    if (!kind || !imageio::KindInfo(*kind).encoder) return;
    const imageio::PictureKindInfo& format = imageio::KindInfo(*kind);
    if (imageio::KindFor(extension, imageio::kSaveKeeps) != kind) shell.SaveFileName += format.suffix;

    const std::uint32_t encoder = *format.encoder;
    int quality = imageio::kDefaultJpegQuality;
    const bool jpegToJpeg = encoder == imageio::kEncoderJpeg && shell.PictureLoaded &&
                            imageio::KindFor(imageio::ExtensionPart(shell.CurrentFile), imageio::kOpenMask) ==
                                imageio::PictureKind::Jpeg;
    if (encoder == imageio::kEncoderJpeg) quality = AskJpegQuality(state, jpegToJpeg);
    // The picture keeps what the opened file carried; a damaged block was left out on opening,
    // which the window does not trouble the user with.
    stamping::StampSettings settings;
    settings.quality = quality;
    settings.metadata.policy = shell.Metadata;
    const render::RasterImage* result = state.images.Find(pic::PicResult);
    // Keeping the JPEG's own quality writes only the blocks the marks changed; a file that cannot
    // be written so is written the ordinary way.
    std::string notice;
    const bool kept = result != nullptr && jpegToJpeg && shell.KeepJpegQuality &&
                      stamping::WriteKeepingQuality(shell.CurrentFile, *result, settings.metadata, shell.SaveFileName,
                                                    nullptr, notice);
    const int written = kept || (result != nullptr && stamping::WriteStamped(*result, shell.SaveFileName, encoder,
                                                                            settings, shell.CurrentMetadata));
    // A picture the user believes saved but that is not on disk loses work: say so. The writer
    // replaces a file only once the new one is complete, so an existing file stays as it was.
    if (written == 0) {
        p.MessageBox(state.texts[kTextWarning], state.texts[kTextNotSaved] + "\r" + shell.SaveFileName,
                     platform::MessageIcon::Warning, platform::MessageButtons::Ok);
    }
}

}  // namespace velinor::app::handlers
