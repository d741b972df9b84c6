#include <filesystem>
#include <string>
#include <system_error>

#include "app/DisplayCopy.h"
#include "app/FolderScan.h"
#include "app/ImageNumbers.h"
#include "app/RenderCycle.h"
#include "app/ShellHooks.h"
#include "app/ShrinkWhileDecoding.h"
#include "imageio/FileNames.h"

// The start argument: a picture shown in both previews, or a folder whose pictures go on the
// batch list.
namespace velinor::app {

namespace {

namespace fs = std::filesystem;
using platform::ControlId;

constexpr int kBatchTab = 1;

float Aspect(int width, int height) {
    return static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
}

// A folder is what can be listed; anything else is taken for a picture file.
bool IsListableFolder(const std::string& path) {
    std::error_code error;
    fs::directory_iterator listing(path, error);
    return !error;
}

void LoadStartPicture(ProgramState& state, const std::string& path) {
    ShellState& shell = state.shell;
    StartState& start = state.start;
    start.FolderMode = false;
    state.images.DropImage(pic::PicStartPreview);
    ShrinkWhileDecoding shrinker(kStartPreviewFit);
    const render::RasterImage* decoded = state.pictureCache.Open(state.images, pic::PicWork, path, &shrinker,
                                                                 &shell.CurrentMetadata);
    shell.CurrentFile = path;
    shell.PictureLoaded = true;
    if (decoded == nullptr) return;

    start.PreviewWidth = decoded->width;
    start.PreviewHeight = decoded->height;
    start.AspectRatio = Aspect(decoded->width, decoded->height);
    if (render::RasterImage* shown = shrinker.StoreShown(state.images, pic::PicWork, pic::PicStartPreview)) {
        ShowInSrgb(*shown, state.pictureCache.DisplayProfile());
    }
    if (const render::RasterImage* preview = state.images.Find(pic::PicStartPreview)) {
        start.PreviewWidth = preview->width;
        start.PreviewHeight = preview->height;
    }
    ShowCentred(state, pic::PicStartPreview, {ControlId::ImgSource, ControlId::ImgPreview});
}

void ListStartFolder(ProgramState& state, const std::string& folder) {
    platform::Platform& p = state.platform;
    StartState& start = state.start;
    start.FolderMode = true;
    start.ScanRoot = folder;
    start.ScanFiles.clear();
    ScanFolder(state, folder);
    p.SetState(ControlId::PnlTabs, kBatchTab);
    for (const std::string& path : start.ScanFiles) {
        if (!ListedPicture(path)) continue;
        // The entry shows the file part; the full path goes with it, so the entry still finds its
        // picture after the list is sorted or reordered.
        const int index = p.AddItem(ControlId::LstBatch, imageio::FilePart(path));
        if (index >= 0) p.SetItemData(ControlId::LstBatch, index, path);
    }
}

}  // namespace

void HandleStartArgument(ProgramState& state) {
    const std::string& argument = state.shell.StartArg;
    if (argument.empty()) {
        state.shell.PictureLoaded = false;
    } else if (IsListableFolder(argument)) {
        ListStartFolder(state, argument);
    } else {
        LoadStartPicture(state, argument);
    }
}

}  // namespace velinor::app
