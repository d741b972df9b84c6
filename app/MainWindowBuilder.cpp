#include "app/MainWindowBuilder.h"

#include "app/LayoutBuilder.h"
#include "app/MainWindowLayout.h"
#include "app/TextureTree.h"
#include "app/ImageNumbers.h"

namespace velinor::app {

namespace {

using platform::ControlId;
using platform::ToolbarItem;

void CreateToolbar(ProgramState& state) {
    platform::Platform& p = state.platform;
    p.CreateToolbar(kMainWindow, {{ToolbarItem::TbGerman, state.images.Find(pic::PicFlagGerman)},
                                  {ToolbarItem::TbEnglish, state.images.Find(pic::PicFlagEnglish)}});
    // Any language but English shows the German texts, so German is shown pressed then.
    const bool english = state.shell.Language == "English";
    p.SetToolbarPressed(ToolbarItem::TbGerman, !english);
    p.SetToolbarPressed(ToolbarItem::TbEnglish, english);
}

}  // namespace

void BuildMainWindow(ProgramState& state) {
    platform::Platform& p = state.platform;
    LoadTextTable(state.prefs, state.texts, state.shell.Language, kLastKeyOfWindowBuild);

    platform::WindowSpec window;
    window.number = kMainWindow;
    window.title = kWindowTitle;
    window.clientWidth = kClientWidth;
    window.clientHeight = kClientHeight;
    window.centred = true;
    window.minimiseButton = true;
    window.hidden = state.shell.fading;
    p.OpenWindow(window);
    state.shell.windowPosition = p.WindowPosition(kMainWindow);

    CreateToolbar(state);

    for (const LayoutRow& row : MainWindowLayout()) {
        p.CreateControl(SpecOf(state, kMainWindow, row));
        if (row.id == ControlId::TreeTextures) FillTextureTree(state);
    }
    for (const InitialState& initial : InitialStates()) {
        p.SetState(initial.id, initial.state);
        if (initial.text != nullptr) p.SetText(initial.id, initial.text);
    }

    for (ControlId id : HiddenAfterBuild()) p.ShowControl(id, false);
    p.RemoveTab(ControlId::PnlBatchMark, kRemovedBatchMarkTab);
    p.EnableControl(ControlId::BtnBatchStart, false);

    for (ControlId id : GreyButtons()) p.SetButtonColour(id, render::kLightGrey, render::kBlack);

    p.SetPointerPosition({300, 300});

    p.CreateStatusBar(kMainWindow, {kClientWidth});
    p.SetStatusImage(0, state.images.Find(pic::PicStatusBar));

    // Both fields or neither: the settings tab shows a folder only with a picture name.
    if (!state.shell.PictureName.empty() && !state.shell.DefaultDir.empty()) {
        p.SetText(ControlId::TxtPictureName, state.shell.PictureName);
        p.SetText(ControlId::TxtDefaultDir, state.shell.DefaultDir);
    }
}

}  // namespace velinor::app
