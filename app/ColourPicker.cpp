#include "app/ColourPicker.h"

#include "app/ModalLoop.h"
#include "app/SecondaryWindowLayout.h"
#include "app/Settings.h"
#include "marks/LogoRoutes.h"
#include "app/ImageNumbers.h"

namespace velinor::app {
namespace {

using platform::ControlId;
using platform::kMainWindow;
using platform::kPickerWindow;

// The colour under the pointer: read from the picture where it is shown (unscaled, from the
// control's top-left corner), from the screen elsewhere in the control; 0 when neither can
// be read.
render::Color ColourUnderPointer(ProgramState& state, platform::Point pointer, const platform::Rect& control) {
    const render::RasterImage* picture = state.images.Find(pic::PicPicker);
    const int x = pointer.x - control.x;
    const int y = pointer.y - control.y;
    if (picture != nullptr && picture->Contains(x, y)) return picture->At(x, y) & 0xFFFFFFu;
    const int screen = state.platform.ScreenPixel({pointer.x + 1, pointer.y + 1});
    return screen < 0 ? render::kBlack : static_cast<render::Color>(screen) & 0xFFFFFFu;
}

}  // namespace

render::Color PickColour(ProgramState& state, const std::string& path) {
    platform::Platform& p = state.platform;
    LoadTextTable(state.prefs, state.texts, ShownLanguage(state), kLastKey);
    p.EnableWindow(kMainWindow, false);

    render::Color colour = render::kBlack;
    const WindowLayout& layout = PickerWindowLayout();
    if (OpenLayoutWindow(state, layout)) {
        // The picture goes to the control in memory; no file is written for it.
        marks::LoadLibraryPicture(state.images, pic::PicPicker, path);
        CreateLayoutControls(state, layout);

        RunModalWindow(state, kPickerWindow, [&](const platform::Event& event) {
            const platform::Point pointer = p.PointerPosition();
            const platform::Rect shown = p.ControlScreenRect(ControlId::ImgPicker);
            if (p.WindowExists(kPickerWindow) && shown.Contains(pointer)) {
                p.SetPointerShape(platform::PointerShape::Picker);
                // Pointer movement carries kind 0 as well: only a control event is a click.
                if (event.code == platform::kEventControl && event.kind == platform::kKindLeftClick &&
                    event.control == ControlId::ImgPicker) {
                    colour = ColourUnderPointer(state, pointer, shown);
                    return true;
                }
            }
            // Any close request ends the picking, also one for the main window.
            return event.code == platform::kEventClose;
        });
        p.SetPointerShape(platform::PointerShape::Arrow);
        p.CloseWindow(kPickerWindow);
    }
    p.EnableWindow(kMainWindow, true);
    return colour;
}

}  // namespace velinor::app
