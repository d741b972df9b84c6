#include "app/StartArgument.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "app/RenderCycle.h"
#include "app/ShellHooks.h"
#include "app/ShrinkWhileDecoding.h"
#include "imageio/FileNames.h"
#include "imageio/Loader.h"
#include "render/ImageNumbers.h"

namespace velinor::app {

namespace {

namespace fs = std::filesystem;
using platform::ControlId;
namespace pic = render::pic;

constexpr int kBatchTab = 1;
constexpr float kWideAspect = 1.4f;

// The extensions a folder scan puts on the batch list, compared exactly.
constexpr const char* kListedExtensions[] = {"jpg", "JPG", "png", "PNG", "tga", "TGA", "bmp", "BMP"};

bool Listed(const std::string& path) {
    const std::string extension = imageio::ExtensionPart(path);
    return std::any_of(std::begin(kListedExtensions), std::end(kListedExtensions),
                       [&](const char* listed) { return extension == listed; });
}

int Nearest(float ratio, int height) {
    return static_cast<int>(std::nearbyint(static_cast<double>(ratio) * height));
}

float Aspect(int width, int height) {
    return static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
}

// A folder is what can be listed; anything else is taken for a picture file.
bool IsListableFolder(const std::string& path) {
    std::error_code error;
    fs::directory_iterator listing(path, error);
    return !error;
}

// Resizes number to size, or copies nothing when the size is one the registry cannot hold.
void Resize(ProgramState& state, int number, FittedSize size) {
    const render::RasterImage* image = state.images.Find(number);
    if (image == nullptr || (image->width == size.width && image->height == size.height)) return;
    state.images.ScaleImage(number, size.width, size.height);
}

void LoadStartPicture(ProgramState& state, const std::string& path) {
    ShellState& shell = state.shell;
    StartState& start = state.start;
    start.FolderMode = false;
    state.images.DropImage(pic::PicStartPreview);
    ShrinkWhileDecoding shrinker([](int width, int height) {
        const FittedSize size = StartPreviewSize(width, height);
        return std::pair{size.width, size.height};
    });
    const render::RasterImage* decoded = state.pictureCache.Open(state.images, pic::PicWork, path, &shrinker,
                                                                          &shell.CurrentMetadata);
    shell.CurrentFile = path;
    shell.PictureLoaded = true;
    if (decoded == nullptr) return;

    start.PreviewWidth = decoded->width;
    start.PreviewHeight = decoded->height;
    start.AspectRatio = Aspect(decoded->width, decoded->height);
    shrinker.StoreShown(state.images, pic::PicWork, pic::PicStartPreview);
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
        if (!Listed(path)) continue;
        // The entry shows the file part; the full path goes with it, so the entry still finds its
        // picture after the list is sorted or reordered.
        const int index = p.AddItem(ControlId::LstBatch, imageio::FilePart(path));
        if (index >= 0) p.SetItemData(ControlId::LstBatch, index, path);
    }
}

// Loads path into number and fits it into the thumbnail box; a file that does not load leaves
// the thumbnail as it was.
bool ShowThumbnail(ProgramState& state, int number, const std::string& path) {
    if (imageio::LoadPicture(state.images, number, path) == nullptr) return false;
    ThumbnailFit(state, number);
    return true;
}

bool ThumbnailsWanted(const platform::Platform& p, ControlId list) {
    return p.GetState(list) > -1 && p.FocusedControl() == list && p.GetState(ControlId::PnlTabs) == kBatchTab &&
           p.GetState(ControlId::ChkThumb) == 1;
}

}  // namespace

FittedSize StartPreviewSize(int width, int height) {
    if (height <= 200 && width <= 220) return {width, height};
    return {Nearest(Aspect(width, height), 180), 180};
}

FittedSize ThumbnailSize(int width, int height) {
    if (height <= 140 && width <= 160) return {width, height};
    const float ratio = Aspect(width, height);
    const int target = ratio < kWideAspect ? 110 : 70;
    return {Nearest(ratio, target), target};
}

void ScanFolder(ProgramState& state, const std::string& folder) {
    const std::string base = !folder.empty() && folder.back() == '/' ? folder : folder + "/";
    std::error_code error;
    fs::directory_iterator listing(base, error);
    if (error) return;
    std::vector<fs::directory_entry> entries;
    for (; listing != fs::directory_iterator(); listing.increment(error)) {
        if (error) break;
        entries.push_back(*listing);
    }
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) {
                  return a.path().filename().string() < b.path().filename().string();
              });
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        std::error_code kindError;
        if (entry.is_symlink(kindError) && entry.is_directory(kindError)) continue;
        if (entry.is_directory(kindError)) {
            ScanFolder(state, base + name);
        } else {
            state.start.ScanFiles.push_back(base + name);
        }
    }
}

void ThumbnailFit(ProgramState& state, int number) {
    const render::RasterImage* image = state.images.Find(number);
    if (image == nullptr) return;
    Resize(state, number, ThumbnailSize(image->width, image->height));
    image = state.images.Find(number);
    state.platform.ResizeControl(ControlId::ImgThumb,
                                 {80 - image->width / 2, 70 - image->height / 2, image->width, image->height});
    state.platform.SetControlImage(ControlId::ImgThumb, image);
}

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

void HandleKeyEvent(ProgramState& state) {
    platform::Platform& p = state.platform;
    ShellState& shell = state.shell;
    StartState& start = state.start;

    if (p.KeyDown(platform::Key::Control) && p.KeyDown(platform::Key::A) &&
        p.FocusedControl() == ControlId::LstExplorer) {
        p.SelectAllItems(ControlId::LstExplorer);
        p.SetFocus(ControlId::LstExplorer);
    }

    if (ThumbnailsWanted(p, ControlId::LstExplorer)) {
        const int selected = p.GetState(ControlId::LstExplorer);
        std::string folder = p.GetText(ControlId::LstExplorer);
        if (!folder.empty() && folder.back() != '/') folder += '/';
        start.ThumbFile = folder + p.ItemText(ControlId::LstExplorer, selected);
        if (shell.EventControl == ControlId::LstExplorer && shell.EventKind == platform::kKindChange) {
            ShowThumbnail(state, pic::PicThumbExplorer, start.ThumbFile);
        }
    }

    if (ThumbnailsWanted(p, ControlId::LstBatch)) {
        const int selected = p.GetState(ControlId::LstBatch);
        start.ThumbFile = p.ItemText(ControlId::LstBatch, selected);
        if (shell.EventControl == ControlId::LstBatch && shell.EventKind == platform::kKindLeftClick) {
            // An entry that carries its full path is loaded from there; an entry without one is a
            // path as it stands. A folder-start entry that no longer loads ends the folder mode.
            const std::string fullPath = p.ItemData(ControlId::LstBatch, selected);
            const bool shown = ShowThumbnail(state, pic::PicThumbBatch, fullPath.empty() ? start.ThumbFile : fullPath);
            if (!shown && start.FolderMode) start.FolderMode = false;
        }
    }
}

}  // namespace velinor::app
