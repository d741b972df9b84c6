#include "app/StartUp.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <iostream>

#include "app/MainWindowBuilder.h"
#include "files/ProgramFiles.h"
#include "app/MainWindowLayout.h"
#include "app/Settings.h"
#include "app/ShellHooks.h"
#include "app/StoredPictures.h"
#include "app/TextKeys.h"
#include "imageio/DecodeLimits.h"
#include "plugins/SharedObjectCheck.h"
#include "app/ImageNumbers.h"

namespace velinor::app {

namespace {

constexpr int kOpacityStep = 15;

constexpr const char* kMissingLanguageCaption = "Velinor";

std::string CurrentFolder() {
    char path[PATH_MAX];
    return ::getcwd(path, sizeof path) != nullptr ? std::string(path) : std::string(".");
}

constexpr const char* kLanguageFileName = "lang.prf";

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string WithoutSlash(std::string folder) {
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// Without the language file there are no texts to say anything with, so this one sentence is
// fixed; it names the file, where it was looked for and where the program should be started.
// Outside a runtime folder the program looked in its installed data folder; its own folder is
// suggested only where it is a runtime folder (a build's stage).
std::string MissingLanguageFileText(const std::string& programFolder) {
    const files::ProgramFiles& files = files::Current();
    const std::string start = std::string("Velinor cannot start: ") + kLanguageFileName;
    if (Exists(files.languageFile)) {
        const std::string where = files.installed ? " in the installed data folder " + WithoutSlash(files.dataFolder)
                                                  : " in the current folder " + CurrentFolder();
        return start + where +
               " cannot be read, or does not hold the texts of the chosen language whole (it must be a readable"
               " file of at most 16 MB, as installed with Velinor).";
    }
    const std::string usual =
        Exists(programFolder + kLanguageFileName) ? " (usually " + WithoutSlash(programFolder) + ")" : "";
    return start + " is neither in the current folder " + CurrentFolder() + " nor in the installed data folder " +
           WithoutSlash(files.dataFolder) + "; start Velinor inside its runtime folder" + usual + ", which holds " +
           kLanguageFileName + " and data/, or install Velinor again.";
}

// The language file names the library as it stands in a runtime folder (data/image323); an
// installed program keeps its libraries elsewhere, and the message names the file it looked for.
std::string LibraryMissingText(const std::string& text) {
    if (!files::Current().installed) return text;
    const std::string runtimeName = "data/image323";
    const std::size_t at = text.find(runtimeName);
    if (at == std::string::npos) return text;
    std::string named = text;
    named.replace(at, runtimeName.size(), files::LibraryPath(kRequiredLibrary));
    return named;
}

void FadeIn(platform::Platform& p) {
    p.SetWindowOpacity(kMainWindow, 0);
    p.ShowWindow(kMainWindow, true);
    for (int opacity = 0; opacity <= 255; opacity += kOpacityStep) p.SetWindowOpacity(kMainWindow, opacity);
}

void FadeOut(platform::Platform& p) {
    for (int opacity = 255; opacity >= 0; opacity -= kOpacityStep) p.SetWindowOpacity(kMainWindow, opacity);
}

}  // namespace

std::string StartArgumentOf(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return {};
    std::string argument = arguments.front();
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
        argument = argument.substr(1, argument.size() - 2);
    }
    return argument;
}

bool FadingSystem(platform::OsVersion version) {
    return version.major == 5 && version.minor >= 0 && version.minor <= 2;
}

bool StartUp(ProgramState& state) {
    platform::Platform& p = state.platform;
    ShellState& shell = state.shell;

    // The platform's services and the built-in codecs are ready once the program is linked;
    // there is nothing to register at run time.
    shell.StartArg = StartArgumentOf(state.arguments);
    // A runtime folder (the current folder holds lang.prf) or the installed tree the program
    // file stands in: settled before any of the program's files is read.
    files::Use(files::LayoutFor(files::ThisProcess(p.ProgramDirectory())));
    ReadSettings(state);
    InstallRuntimeErrorHandler(state);
    state.frame.CircleFrameColor = render::kLightGrey;
    MakeStoredPictures(state.images);
    if (!LoadTextTable(state.prefs, state.texts, shell.Language, kLastKey)) {
        const std::string text = MissingLanguageFileText(p.ProgramDirectory());
        std::cerr << text << std::endl;
        p.MessageBox(kMissingLanguageCaption, text, platform::MessageIcon::Warning, platform::MessageButtons::Ok);
        return false;
    }

    // A damaged library would crash the program when loaded, and another library in its place
    // (nviewlib swapped in, say) would read no logo: either counts as missing.
    static constexpr const char* kRequiredExports[] = {"LoadImageFile", "ReleaseImageFile", VELINOR_SET_PIXEL_LIMIT};
    if (!plugins::IsSoundSharedObject(files::LibraryPath(kRequiredLibrary), kRequiredExports)) {
        p.MessageBox(state.texts[kTextMissingFile], LibraryMissingText(state.texts[kTextLibraryMissing]),
                     platform::MessageIcon::Warning, platform::MessageButtons::Ok);
        return false;
    }

    // A pixel limit the environment gives wrongly would otherwise pass unnoticed for the default.
    const char* limit = std::getenv(imageio::kPixelLimitVariable);
    if (limit != nullptr && *limit != '\0' && !imageio::ParsePixelCount(limit)) {
        p.MessageBox(state.texts[kTextWarning], state.texts[kTextBadPixelLimit] + "\"" + limit + "\"",
                     platform::MessageIcon::Warning, platform::MessageButtons::Ok);
    }

    p.SetDefaultControlFont("arial", 8, true);
    shell.TextFontChosen = false;
    shell.BatchFontChosen = false;
    state.images.NewImage(pic::PicStartPreview, 255, 225);

    shell.fading = FadingSystem(p.GetOsVersion());
    BuildMainWindow(state);
    if (shell.fading) FadeIn(p);

    HandleStartArgument(state);
    // Text mode is checked at start. The frame panel is hidden as well: it lies over the text
    // panel and would otherwise show until the first pointer movement.
    p.ShowControl(platform::ControlId::BoxText, true);
    p.ShowControl(platform::ControlId::BoxLogo, false);
    p.ShowControl(platform::ControlId::BoxFrame, false);
    p.AcceptDrops(kMainWindow, true);
    return true;
}

int ShutDown(ProgramState& state) {
    if (state.shell.fading) FadeOut(state.platform);
    state.platform.CloseWindow(kMainWindow);
    return 0;
}

}  // namespace velinor::app
