#include <string>

#include "app/ImageNumbers.h"
#include "app/ShellHooks.h"
#include "app/Thumbnails.h"

// Key events: select-all in the file list, and the thumbnails of the batch tab that follow the
// entry picked in the explorer or the batch list.
namespace velinor::app {

namespace {

using platform::ControlId;

constexpr int kBatchTab = 1;

bool ThumbnailsWanted(const platform::Platform& p, ControlId list) {
    return p.GetState(list) > -1 && p.FocusedControl() == list && p.GetState(ControlId::PnlTabs) == kBatchTab &&
           p.GetState(ControlId::ChkThumb) == 1;
}

}  // namespace

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
