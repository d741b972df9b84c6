#include "app/MarkControls.h"

namespace velinor::app {

bool Checked(const ProgramState& state, platform::ControlId id) { return state.platform.GetState(id) == 1; }

marks::Anchor CheckedAnchor(const ProgramState& state, platform::ControlId first) {
    for (int i = 0; i < marks::kAnchorCount; ++i) {
        if (Checked(state, static_cast<platform::ControlId>(static_cast<int>(first) + i))) return marks::AnchorFromIndex(i);
    }
    return marks::Anchor::Centre;
}

stamping::TextMarkSettings WindowTextMark(const ProgramState& state, platform::ControlId anchorGroup, std::string text) {
    stamping::TextMarkSettings settings;
    settings.text = std::move(text);
    settings.font = state.marks.MarkFontSpec;
    settings.dpi = state.platform.DisplayDpi();
    settings.anchor = CheckedAnchor(state, anchorGroup);
    return settings;
}

stamping::LogoMarkSettings WindowLogoMark(const ProgramState& state, platform::ControlId anchorGroup,
                                          platform::ControlId track) {
    stamping::LogoMarkSettings settings;
    settings.file = state.marks.LogoFile;
    settings.anchor = CheckedAnchor(state, anchorGroup);
    settings.transparency = state.platform.GetState(track);
    settings.keyColour = state.marks.LogoKeyColor;
    return settings;
}

stamping::TextureFrameSettings WindowTextureFrame(const ProgramState& state, std::string tile) {
    stamping::TextureFrameSettings settings;
    settings.tile = std::move(tile);
    settings.width = state.platform.GetState(platform::ControlId::SpinTexWidth);
    settings.transparency = state.platform.GetState(platform::ControlId::TrkTexAlpha);
    return settings;
}

stamping::CircleFrameSettings WindowCircleFrame(const ProgramState& state) {
    using platform::ControlId;
    const platform::Platform& p = state.platform;
    stamping::CircleFrameSettings settings;
    settings.params.border = p.GetState(ControlId::SpinCircleWidth);
    settings.params.maxRadius = p.GetState(ControlId::SpinCircleRadius);
    settings.params.gap = p.GetState(ControlId::SpinCircleGap);
    settings.params.sides = Checked(state, ControlId::OptSides2) ? 2 : 4;
    settings.params.filled = Checked(state, ControlId::ChkCircleFilled);
    settings.params.colour = state.frame.CircleFrameColor;
    settings.transparency = p.GetState(ControlId::TrkCircleAlpha);
    return settings;
}

}  // namespace velinor::app
