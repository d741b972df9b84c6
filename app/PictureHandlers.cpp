#include <cstdint>
#include <iterator>
#include <string>

#include "app/Handlers.h"
#include "app/Messages.h"
#include "app/QualityWindow.h"
#include "app/RenderCycle.h"
#include "imageio/FileNames.h"
#include "imageio/Writer.h"
#include "render/ImageNumbers.h"

// Opening and saving the picture being edited.
namespace velinor::app::handlers {

namespace {

using platform::ControlId;
namespace pic = render::pic;

constexpr const char* kOpenPattern = "Jpeg|*.jpg;*.jpeg;*.Jpg|Bmp|*.bmp;*.Bmp;*.BMP|Png|*.png;*.Png;*.PNG|TGA|*.tga;*.TGA";
constexpr const char* kSavePattern = "Jpeg|*.jpg;*.jpeg;*.Jpg|Bmp|*.bmp;*.Bmp;*.BMP|Png|*.png;*.Png;*.PNG";

constexpr int kOpenTitleKey = 83;
constexpr int kSaveTitleKey = 8;
constexpr int kNoResultKey = 98;
constexpr int kApplyFirstKey = 99;
constexpr int kOverwriteKey = 82;
constexpr int kNotSavedKey = 4;

// One entry per pattern of the save requester, in pattern order: the format written and the
// extensions a typed name may already end in (compared exactly); any other gets the first
// form appended.
struct SaveFormat {
    std::uint32_t encoder;
    const char* appended;
    const char* accepted[3];
};
constexpr SaveFormat kSaveFormats[] = {
    {imageio::kEncoderJpeg, ".jpg", {"jpg", "JPG", "Jpeg"}},
    {imageio::kEncoderBmp, ".bmp", {"bmp", "BMP", "Bmp"}},
    {imageio::kEncoderPng, ".png", {"png", "PNG", "Png"}},
};

bool Accepted(const SaveFormat& format, const std::string& extension) {
    for (const char* accepted : format.accepted) {
        if (extension == accepted) return true;
    }
    return false;
}

std::string FolderPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

void OpenPicture(ProgramState& state, ControlId) {
    platform::Platform& p = state.platform;
    ShellState& shell = state.shell;

    platform::FileRequest request;
    request.title = state.texts[kOpenTitleKey];
    request.defaultFile = shell.DefaultDir;
    request.pattern = kOpenPattern;
    request.patternIndex = 0;
    shell.CurrentFile = p.OpenFileRequester(request);
    if (shell.CurrentFile.empty()) return;

    p.SetState(ControlId::OptLogoPos1, 1);
    p.SetState(ControlId::OptTextPos1, 1);
    shell.PictureLoaded = true;

    if (!ShowOpenedPicture(state)) shell.PictureLoaded = false;
}

void SaveResult(ProgramState& state, ControlId) {
    platform::Platform& p = state.platform;
    ShellState& shell = state.shell;

    if (!state.images.HasImage(pic::PicResult)) {
        p.MessageBox(state.texts[kInformationCaption],
                     state.texts[kNoResultKey] + "\r" + state.texts[kApplyFirstKey],
                     platform::MessageIcon::Information, platform::MessageButtons::Ok);
        return;
    }

    platform::FileRequest request;
    request.title = state.texts[kSaveTitleKey];
    request.defaultFile = shell.DefaultDir.empty() ? std::string("*.*") : shell.DefaultDir;
    request.pattern = kSavePattern;
    request.patternIndex = 0;
    const platform::SaveAnswer answer = p.SaveFileRequester(request);
    shell.SaveFileName = answer.path;
    const int index = answer.path.empty() ? -1 : answer.patternIndex;

    // The overwrite question is about the name as typed: a name that only gains its extension
    // below is not looked for.
    const std::string extension = imageio::ExtensionPart(shell.SaveFileName);
    if (imageio::FileExistsInFolder(imageio::FilePart(shell.SaveFileName), FolderPart(shell.SaveFileName)) == 1) {
        const platform::MessageAnswer overwrite =
            p.MessageBox(state.texts[kInformationCaption], state.texts[kOverwriteKey],
                         platform::MessageIcon::Warning, platform::MessageButtons::YesNo);
        if (overwrite != platform::MessageAnswer::Yes) return;
    }

    if (index < 0 || index >= static_cast<int>(std::size(kSaveFormats))) return;
    const SaveFormat& format = kSaveFormats[index];
    if (!Accepted(format, extension)) shell.SaveFileName += format.appended;

    int quality = imageio::kDefaultJpegQuality;
    if (format.encoder == imageio::kEncoderJpeg) quality = AskJpegQuality(state);
    // The picture keeps what the opened file carried; a damaged block was left out on opening,
    // which the window does not trouble the user with.
    imageio::MetadataChoices choices;
    choices.policy = shell.Metadata;
    const int written = imageio::SavePicture(state.images, pic::PicResult, shell.SaveFileName, format.encoder, quality,
                                             &shell.CurrentMetadata, choices);
    // A picture the user believes saved but that is not on disk loses work: say so. The writer
    // replaces a file only once the new one is complete, so an existing file stays as it was.
    if (written == 0) {
        p.MessageBox(state.texts[kWarningCaption], state.texts[kNotSavedKey] + "\r" + shell.SaveFileName,
                     platform::MessageIcon::Warning, platform::MessageButtons::Ok);
    }
}

}  // namespace velinor::app::handlers
