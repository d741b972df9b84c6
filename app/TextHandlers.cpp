#include <optional>
#include <string>

#include "app/Handlers.h"
#include "app/ImageNumbers.h"
#include "app/MarkControls.h"
#include "app/Messages.h"
#include "app/RenderCycle.h"
#include "app/TextKeys.h"
#include "marks/TextMark.h"
#include "stamping/StampMarks.h"

// The text mark of the first tab, and the font choice it shares with the batch tab.
namespace velinor::app::handlers {

using platform::ControlId;

namespace {

constexpr const char* kDefaultFontFace = "arial";
constexpr int kDefaultFontPoints = 10;

// The font requester for either font button; true when the user accepted a font.
bool ChooseFont(ProgramState& state, bool& chosen) {
    MarkState& m = state.marks;
    platform::FontRequest request;
    if (chosen) {
        // Face, size and colour are offered again; the style never is.
        request.face = m.MarkFontSpec.face;
        request.pointSize = m.MarkFontSpec.pointSize;
        request.colour = static_cast<int>(m.MarkFontSpec.colour);
    } else {
        request.face = kDefaultFontFace;
        request.pointSize = kDefaultFontPoints;
        request.colour = -1;
    }
    const std::optional<platform::FontAnswer> answer = state.platform.FontRequester(request);
    if (!answer) return false;
    chosen = true;
    m.MarkFontSpec.face = answer->face;
    m.MarkFontSpec.pointSize = answer->sizeTenths / 10;
    m.MarkFontSpec.colour = answer->colour & 0xFFFFFFu;
    m.MarkFontSpec.style = (answer->bold ? marks::kStyleBold : 0) | (answer->italic ? marks::kStyleItalic : 0) |
                           (answer->underline ? marks::kStyleUnderline : 0) | (answer->strikeOut ? marks::kStyleStrikeOut : 0);
    return true;
}

// Writes the text of TxtMark onto a fresh copy of the picture and shows it; the steps of the
// apply button after its checks.
void RenderTextMark(ProgramState& state, const std::string& text) {
    const RenderOutcome outcome = RenderCycle(state, [&](render::RasterImage& work) {
        if (!Checked(state, ControlId::OptModeText)) return false;
        stamping::MarkDrawer(state.marks.fonts, state.marks.random)
            .DrawText(work, WindowTextMark(state, ControlId::OptTextPos1, text), {}, text);
        return true;
    });
    // Outside text mode the freshly loaded picture is shown as it is, where the preview stands.
    if (outcome == RenderOutcome::Stopped) state.platform.SetControlImage(ControlId::ImgPreview, state.images.Find(pic::PicWork));
}

}  // namespace

void ChooseMarkFont(ProgramState& state, ControlId) {
    if (!state.shell.PictureLoaded) {
        ShowInformation(state, kTextInformation, kTextOpenPictureFirst);
        return;
    }
    if (!ChooseFont(state, state.shell.TextFontChosen)) return;
    const std::string text = state.platform.GetText(ControlId::TxtMark);
    if (!text.empty()) RenderTextMark(state, text);
}

void ApplyTextMark(ProgramState& state, ControlId) {
    if (!state.shell.PictureLoaded) return;
    const std::string text = state.platform.GetText(ControlId::TxtMark);
    if (text.empty()) return;
    RenderTextMark(state, text);
}

void ChooseBatchFont(ProgramState& state, ControlId) { ChooseFont(state, state.shell.BatchFontChosen); }

}  // namespace velinor::app::handlers
