#include <string>

#include "app/Handlers.h"
#include "app/ImageNumbers.h"
#include "app/MarkControls.h"
#include "app/RenderCycle.h"
#include "app/TextKeys.h"
#include "files/ProgramFiles.h"
#include "imageio/Loader.h"
#include "stamping/StampMarks.h"

// The frame marks of the first tab: the circle frame with its colour, and the texture frame.
namespace velinor::app::handlers {

using platform::ControlId;

namespace {


void Notice(ProgramState& state, TextKey text) {
    state.platform.MessageBox(state.texts[kTextNotice], state.texts[text], platform::MessageIcon::Warning,
                              platform::MessageButtons::Ok);
}

}  // namespace

void ChooseCircleColour(ProgramState& state, ControlId) {
    // A cancelled requester keeps the colour there was.
    const int colour = state.platform.ColourRequester(render::kBlack);
    if (colour >= 0) state.frame.CircleFrameColor = static_cast<render::Color>(colour) & 0xFFFFFFu;
    state.platform.SetButtonColour(ControlId::BtnCircleColour, state.frame.CircleFrameColor, render::kBlack);
}

void DrawCircleFrame(ProgramState& state, ControlId) {
    const stamping::CircleFrameSettings settings = WindowCircleFrame(state);
    const RenderOutcome outcome = RenderCycle(state, [&](render::RasterImage& work) {
        stamping::MarkDrawer(state.marks.fonts, state.marks.random).DrawCircles(work, settings);
        return true;
    });
    if (outcome == RenderOutcome::NoPicture) Notice(state, kTextNoPictureLoaded);
}

void DrawTextureFrame(ProgramState& state, ControlId) {
    platform::Platform& p = state.platform;
    const int item = p.GetState(ControlId::TreeTextures);
    state.shell.SelectedTexture = item >= 0 ? p.ItemText(ControlId::TreeTextures, item) : std::string();
    // A category node or no selection gives a path without a dot; the test is on the whole path.
    const std::string path = SelectedTileFile(state);
    if (path.find('.') == std::string::npos) {
        Notice(state, kTextNoTexture);
        return;
    }
    imageio::LoadPicture(state.images, pic::PicTexture, path);
    const stamping::TextureFrameSettings settings = WindowTextureFrame(state, path);
    const RenderOutcome outcome = RenderCycle(state, [&](render::RasterImage& work) {
        // A tile that did not load leaves the picture as it is; it is still published.
        if (const render::RasterImage* tile = state.images.Find(pic::PicTexture)) {
            stamping::MarkDrawer::DrawTexture(work, settings, *tile);
        }
        return true;
    });
    if (outcome == RenderOutcome::NoPicture) {
        Notice(state, kTextNoPictureLoaded);
    } else if (!state.images.HasImage(pic::PicTexture)) {
        // A missing or damaged tile draws no frame; the user hears which tile it was.
        p.MessageBox(state.texts[kTextNotice], state.texts[kTextTileNotRead] + path, platform::MessageIcon::Warning,
                     platform::MessageButtons::Ok);
    }
}

}  // namespace velinor::app::handlers
