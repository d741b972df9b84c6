#include <string>

#include "app/ColourPicker.h"
#include "app/Handlers.h"
#include "app/Messages.h"
#include "app/RenderCycle.h"
#include "app/TextKeys.h"
#include "imageio/Loader.h"
#include "imageio/PictureKinds.h"
#include "marks/CircleFrame.h"
#include "marks/LogoPlacement.h"
#include "marks/LogoRoutes.h"
#include "marks/TextMark.h"
#include "marks/TextureFrame.h"
#include "render/ImageNumbers.h"

// The marks of the first tab: frames, logo and text, and the font and logo choices they share
// with the batch tab. Each handler reads its controls, draws through marks/ and publishes with
// the render cycle.
namespace velinor::app::handlers {

using platform::ControlId;
namespace pic = render::pic;

namespace {

constexpr const char* kNoticeCaption = "Meldung";
constexpr const char* kNoPicture = "Es wurde kein Bild geladen!";
constexpr const char* kNoTexture = "Sie haben keine Textur ausgewählt";
constexpr const char* kTextureFolder = "texturen/";


constexpr const char* kDefaultFontFace = "arial";
constexpr int kDefaultFontPoints = 10;

void Notice(ProgramState& state, const char* text) {
    state.platform.MessageBox(kNoticeCaption, text, platform::MessageIcon::Warning, platform::MessageButtons::Ok);
}

bool Checked(ProgramState& state, ControlId id) { return state.platform.GetState(id) == 1; }

// The anchor of the first checked option of a group of seven consecutive options.
marks::Anchor CheckedAnchor(ProgramState& state, ControlId first) {
    for (int i = 0; i < marks::kAnchorCount; ++i) {
        if (Checked(state, static_cast<ControlId>(static_cast<int>(first) + i))) return marks::AnchorFromIndex(i);
    }
    return marks::Anchor::Centre;
}

// Shows or hides the logo's transparency track bar with its two labels.
void ShowLogoAlpha(ProgramState& state, bool shown) {
    platform::Platform& p = state.platform;
    p.EnableControl(ControlId::TrkLogoAlpha, shown);
    p.ShowControl(ControlId::TrkLogoAlpha, shown);
    p.ShowControl(ControlId::LblLogoAlpha, shown);
    p.ShowControl(ControlId::LblLogoAlphaMax, shown);
}

// Loads the logo by its route and, in logo mode, draws it onto the working picture: keyed
// logos with the key colour (the transparency controls hidden), others blended with the
// track bar's transparency (the controls shown). False when not in logo mode (nothing drawn).
// A logo that does not decode draws nothing.
bool LoadAndDrawLogo(ProgramState& state, render::RasterImage& work, int transparency) {
    MarkState& m = state.marks;
    const marks::LogoLoad logo = marks::LoadLogoPicture(state.images, m.LogoFile);
    m.LogoKeyed = logo.keyed;
    if (!Checked(state, ControlId::OptModeLogo)) return false;
    ShowLogoAlpha(state, !m.LogoKeyed);
    const render::RasterImage* picture = state.images.Find(pic::PicLogo);
    if (picture != nullptr) {
        marks::LogoStyle style;
        style.anchor = CheckedAnchor(state, ControlId::OptLogoPos1);
        style.keyed = m.LogoKeyed;
        style.transparency = transparency;
        style.keyColour = m.LogoKeyColor;
        marks::PlaceLogo(work, *picture, style);
    }
    return true;
}

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
        marks::DrawTextMark(work, state.marks.fonts, state.marks.MarkFontSpec, state.platform.DisplayDpi(), text,
                            CheckedAnchor(state, ControlId::OptTextPos1));
        return true;
    });
    // Outside text mode the freshly loaded picture is shown as it is, where the preview stands.
    if (outcome == RenderOutcome::Stopped) state.platform.SetControlImage(ControlId::ImgPreview, state.images.Find(pic::PicWork));
}

}  // namespace

void ChooseCircleColour(ProgramState& state, ControlId) {
    // A cancelled requester keeps the colour there was.
    const int colour = state.platform.ColourRequester(render::kBlack);
    if (colour >= 0) state.frame.CircleFrameColor = static_cast<render::Color>(colour) & 0xFFFFFFu;
    state.platform.SetButtonColour(ControlId::BtnCircleColour, state.frame.CircleFrameColor, render::kBlack);
}

void DrawCircleFrame(ProgramState& state, ControlId) {
    platform::Platform& p = state.platform;
    marks::CircleFrameParams params;
    params.border = p.GetState(ControlId::SpinCircleWidth);
    params.maxRadius = p.GetState(ControlId::SpinCircleRadius);
    params.gap = p.GetState(ControlId::SpinCircleGap);
    params.sides = Checked(state, ControlId::OptSides2) ? 2 : 4;
    params.filled = Checked(state, ControlId::ChkCircleFilled);
    params.colour = state.frame.CircleFrameColor;
    const int transparency = p.GetState(ControlId::TrkCircleAlpha);
    const RenderOutcome outcome = RenderCycle(state, [&](render::RasterImage& work) {
        const auto circles = marks::FrameCircles(work.width, work.height, params, state.marks.random);
        marks::DrawCircleFrame(work, params, circles, transparency);
        return true;
    });
    if (outcome == RenderOutcome::NoPicture) Notice(state, kNoPicture);
}

void DrawTextureFrame(ProgramState& state, ControlId) {
    platform::Platform& p = state.platform;
    std::string selected, category;
    const int item = p.GetState(ControlId::TreeTextures);
    if (item >= 0) {
        selected = p.ItemText(ControlId::TreeTextures, item);
        const int parent = p.TreeItemParent(ControlId::TreeTextures, item);
        if (parent >= 0) category = p.ItemText(ControlId::TreeTextures, parent);
    }
    state.shell.SelectedTexture = selected;
    // A category node or no selection gives a path without a dot; the test is on the whole path.
    const std::string path = p.ProgramDirectory() + kTextureFolder + category + "/" + selected;
    if (path.find('.') == std::string::npos) {
        Notice(state, kNoTexture);
        return;
    }
    imageio::LoadPicture(state.images, pic::PicTexture, path);
    const int border = p.GetState(ControlId::SpinTexWidth);
    const int transparency = p.GetState(ControlId::TrkTexAlpha);
    const RenderOutcome outcome = RenderCycle(state, [&](render::RasterImage& work) {
        // A tile that did not load leaves the picture as it is; it is still published.
        if (const render::RasterImage* tile = state.images.Find(pic::PicTexture)) {
            marks::DrawTextureFrame(work, *tile, border, 255 - transparency);
        }
        return true;
    });
    if (outcome == RenderOutcome::NoPicture) Notice(state, kNoPicture);
}

void DrawLogoAtPosition(ProgramState& state, ControlId) {
    RenderCycle(state, [&](render::RasterImage& work) {
        if (state.marks.LogoFile.empty()) return false;
        const int transparency = state.platform.GetState(ControlId::TrkLogoAlpha);
        state.platform.SetText(ControlId::TxtLogoFile, state.marks.LogoFile);
        return LoadAndDrawLogo(state, work, transparency);
    });
}

void RedrawLogoAlpha(ProgramState& state, ControlId) {
    // The track bar is hidden while a keyed logo is placed, so this always blends; the
    // logo is read with the picture loader whatever its extension.
    RenderCycle(state, [&](render::RasterImage& work) {
        MarkState& m = state.marks;
        if (m.LogoFile.empty()) return false;
        const int transparency = state.platform.GetState(ControlId::TrkLogoAlpha);
        state.platform.SetText(ControlId::TxtLogoFile, m.LogoFile);
        const render::RasterImage* logo = imageio::LoadPicture(state.images, pic::PicLogo, m.LogoFile);
        if (!Checked(state, ControlId::OptModeLogo)) return false;
        if (logo != nullptr) {
            marks::LogoStyle style;
            style.anchor = CheckedAnchor(state, ControlId::OptLogoPos1);
            style.transparency = transparency;
            marks::PlaceLogo(work, *logo, style);
        }
        return true;
    });
}

void ChooseLogoFile(ProgramState& state, ControlId) {
    platform::Platform& p = state.platform;
    MarkState& m = state.marks;
    state.images.DropImage(pic::PicPreview);
    state.images.DropImage(pic::PicWork);
    render::RasterImage* work = ReloadWork(state);
    if (work == nullptr) {
        ShowWarning(state, kTextInformation, kTextNoPicture);
        return;
    }
    platform::FileRequest request;
    request.title = state.texts[kTextChooseLogo] + "  (" + imageio::PatternKindNames(imageio::FilePattern::Logo) + ")";
    request.pattern = imageio::PatternText(imageio::FilePattern::Logo);
    m.LogoFile = p.OpenFileRequester(request);
    if (m.LogoFile.empty()) return;

    const int transparency = p.GetState(ControlId::TrkLogoAlpha);
    p.SetText(ControlId::TxtLogoFile, m.LogoFile);
    state.images.DropImage(pic::PicLogo);
    // GIF and ICO logos ask for their key colour first; PCX logos keep the last one picked.
    if (marks::LogoRouteFor(m.LogoFile).route == marks::LogoRoute::Library) m.LogoKeyColor = PickColour(state, m.LogoFile);
    // The picker ran an event loop of its own; the working picture is looked up again.
    work = state.images.Find(pic::PicWork);
    if (work == nullptr) return;
    if (LoadAndDrawLogo(state, *work, transparency)) PublishWork(state);
}

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

void ChooseBatchLogoFile(ProgramState& state, ControlId) {
    platform::Platform& p = state.platform;
    platform::FileRequest request;
    request.title = state.texts[kTextLogoFile];
    request.pattern = imageio::PatternText(imageio::FilePattern::BatchLogo);
    state.marks.LogoFile = p.OpenFileRequester(request);
    // Keyed logos have no transparency; a cancel (empty name) shows the controls again.
    const bool keyed = marks::LogoRouteFor(state.marks.LogoFile).keyed;
    p.ShowControl(ControlId::TrkBatchAlpha, !keyed);
    p.ShowControl(ControlId::LblBatchAlpha, !keyed);
    p.ShowControl(ControlId::LblBatchAlphaMax, !keyed);
    if (!state.marks.LogoFile.empty()) p.SetText(ControlId::TxtBatchLogoFile, state.marks.LogoFile);
}

}  // namespace velinor::app::handlers
