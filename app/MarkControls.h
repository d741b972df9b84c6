#pragma once

#include "app/ProgramState.h"
#include "marks/Anchor.h"
#include "stamping/StampSettings.h"

// Reading the mark settings off the window: check boxes, options and the anchor groups.
namespace velinor::app {

// True when the check box or option is set (state 1).
bool Checked(const ProgramState& state, platform::ControlId id);

// The anchor of the first checked option of a group of seven consecutive options starting at
// first; the centre when none is checked.
marks::Anchor CheckedAnchor(const ProgramState& state, platform::ControlId first);

// The marks as the window's controls set them, for the stamping code to draw: the text in the
// mark font on this display at the anchor group starting at anchorGroup; the logo file at its
// anchor group with the transparency of track; the texture tile with the texture frame's width
// and transparency; the circle frame's controls and colour.
stamping::TextMarkSettings WindowTextMark(const ProgramState& state, platform::ControlId anchorGroup, std::string text);
stamping::LogoMarkSettings WindowLogoMark(const ProgramState& state, platform::ControlId anchorGroup,
                                          platform::ControlId track);
stamping::TextureFrameSettings WindowTextureFrame(const ProgramState& state, std::string tile);
stamping::CircleFrameSettings WindowCircleFrame(const ProgramState& state);

// The tile file of the entry selected in the texture tree; a path without a dot when a category
// or nothing is selected.
std::string SelectedTileFile(const ProgramState& state);

// The mark the window draws in its current mode (text, logo, or the texture or circle frame)
// with the JPEG quality (and whether to keep a JPEG's own) last chosen and the metadata choice of
// the settings, as a preset holds it.
stamping::StampSettings WindowMarks(const ProgramState& state);

}  // namespace velinor::app
