#include <string>

#include "app/Handlers.h"
#include "app/ImageNumbers.h"
#include "app/MarkControls.h"
#include "app/RenderCycle.h"
#include "files/ProgramFiles.h"
#include "imageio/Loader.h"
#include "marks/CircleFrame.h"
#include "marks/TextureFrame.h"

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
    if (outcome == RenderOutcome::NoPicture) Notice(state, kTextNoPictureLoaded);
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
    const std::string path = files::Current().textureFolder + category + "/" + selected;
    if (path.find('.') == std::string::npos) {
        Notice(state, kTextNoTexture);
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
    if (outcome == RenderOutcome::NoPicture) Notice(state, kTextNoPictureLoaded);
}

}  // namespace velinor::app::handlers
