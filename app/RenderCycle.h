#pragma once

#include <functional>
#include <initializer_list>

#include "app/PictureFit.h"
#include "app/ProgramState.h"
#include "render/RasterImage.h"

// The render cycle every mark runs, and the preview boxes it shows its pictures in.
//
// A mark never edits the picture cumulatively: each render starts again from the picture file,
// draws exactly one effect on a full-size working copy and publishes it twice, full size as what
// Save writes and shrunk into the result preview. A mark handler needs nothing but RenderCycle:
//
//     void DrawSomething(ProgramState& state, ControlId) {
//         const RenderOutcome outcome = RenderCycle(state, [&](render::RasterImage& work) {
//             DrawTheMark(work, ...);   // state.images may be used for helper pictures
//             return true;              // publish; false leaves the previews and PicResult alone
//         });
//         if (outcome == RenderOutcome::NoPicture) { /* the mark's own message, if it has one */ }
//     }
//
// RenderCycle reloads CurrentFile into PicWork (from the decoded-picture cache when the file is
// unchanged on disk, so a render costs copies, not a decode), calls the effect on PicWork, then
// copies PicWork to PicResult and to PicPreview, fits PicPreview and shows it in ImgPreview.
// The shown copies (PicOpened, PicPreview) are in sRGB from the picture's colour profile
// (PictureCache::DisplayProfile); PicWork and PicResult keep the file's own pixels.
namespace velinor::app {

// The effect of one render, drawn on PicWork. It may create, use and free other numbered images
// but must not replace or free PicWork itself. Returning false stops the cycle after the effect:
// PicWork stays reloaded (and drawn on), PicPreview and PicResult keep what they held.
using RenderEffect = std::function<bool(render::RasterImage& work)>;

enum class RenderOutcome {
    NoPicture,   // PicWork holds no image: no picture opened, or the file no longer loads
    Stopped,     // the effect returned false
    Published,   // PicResult and PicPreview hold the new render
};

RenderOutcome RenderCycle(ProgramState& state, const RenderEffect& effect);

// The halves of the cycle for a mark whose steps between reload and publish are not one effect
// (a requester between them, for instance). ReloadWork frees PicWork and loads CurrentFile into
// it; null when that yields no image. PublishWork copies PicWork to PicResult and PicPreview and
// fits the preview; false when PicWork holds no image.
render::RasterImage* ReloadWork(ProgramState& state);
bool PublishWork(ProgramState& state);

// Shrinks image number in place to its preview size (PreviewSize), shows it in each control and centres each
// control on (127, 112) of its 255 x 225 box (halvings truncate; large pictures are clipped).
void FitPreview(ProgramState& state, int number, std::initializer_list<platform::ControlId> controls);

// Decodes CurrentFile afresh into PicWork (full size, kept for the renders) and PicOpened,
// shrinks PicOpened to preview size and shows it in ImgSource and ImgPreview. False when the
// file gives no picture: PicOpened is then empty and both previews show what they showed.
bool ShowOpenedPicture(ProgramState& state);

// Shows image number as it is in each control, centred on (127, 112) of the control's box.
void ShowCentred(ProgramState& state, int number, std::initializer_list<platform::ControlId> controls);

}  // namespace velinor::app
