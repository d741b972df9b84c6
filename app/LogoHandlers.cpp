#include <string>

#include "app/ColourPicker.h"
#include "app/Handlers.h"
#include "app/ImageNumbers.h"
#include "app/MarkControls.h"
#include "app/Messages.h"
#include "app/RenderCycle.h"
#include "app/TextKeys.h"
#include "imageio/Loader.h"
#include "imageio/PictureKinds.h"
#include "marks/LogoPlacement.h"
#include "marks/LogoRoutes.h"
#include "stamping/StampMarks.h"

// The logo mark of the first tab, and the logo choice of the batch tab.
namespace velinor::app::handlers {

using platform::ControlId;

namespace {

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
// A logo that does not decode draws nothing; why goes to failure when it is given.
bool LoadAndDrawLogo(ProgramState& state, render::RasterImage& work, int transparency,
                     imageio::LoadFailure* failure = nullptr) {
    MarkState& m = state.marks;
    const marks::LogoLoad logo = marks::LoadLogoPicture(state.images, pic::PicLogo, m.LogoFile);
    if (failure != nullptr) *failure = logo.handle != nullptr ? imageio::LoadFailure() : logo.failure;
    m.LogoKeyed = logo.keyed;
    if (!Checked(state, ControlId::OptModeLogo)) return false;
    ShowLogoAlpha(state, !m.LogoKeyed);
    stamping::LogoMarkSettings settings = WindowLogoMark(state, ControlId::OptLogoPos1, ControlId::TrkLogoAlpha);
    settings.transparency = transparency;
    stamping::MarkDrawer(state.marks.fonts, state.marks.random)
        .DrawLogo(work, settings, {state.images.Find(pic::PicLogo), m.LogoKeyed, m.LogoKeyColor}, {});
    return true;
}

}  // namespace

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
        stamping::LogoMarkSettings settings = WindowLogoMark(state, ControlId::OptLogoPos1, ControlId::TrkLogoAlpha);
        settings.transparency = transparency;
        stamping::MarkDrawer(state.marks.fonts, state.marks.random).DrawLogo(work, settings, {logo, false, render::kBlack}, {});
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
    imageio::LoadFailure failure;
    const bool drawn = LoadAndDrawLogo(state, *work, transparency, &failure);
    // The field shows the name either way; a logo that cannot be read says so once, here.
    if (!state.images.HasImage(pic::PicLogo)) {
        const TextKey why = failure.kind == imageio::LoadFailure::Kind::LibraryMissing ? kTextLogoLibraryMissing
                                                                                        : kTextLogoUnreadable;
        p.MessageBox(state.texts[kTextWarning], state.texts[kTextLogoNotRead] + m.LogoFile + state.texts[why],
                     platform::MessageIcon::Warning, platform::MessageButtons::Ok);
    }
    if (drawn) PublishWork(state);
}

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
