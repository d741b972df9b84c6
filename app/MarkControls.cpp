#include "app/MarkControls.h"

#include "files/ProgramFiles.h"

namespace velinor::app {

namespace {

constexpr int kCircleFrameKind = 1;   // the frame kind list's entry for the circle frame

}  // namespace

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

std::string SelectedTileFile(const ProgramState& state) {
    using platform::ControlId;
    const platform::Platform& p = state.platform;
    std::string selected, category;
    const int item = p.GetState(ControlId::TreeTextures);
    if (item >= 0) {
        selected = p.ItemText(ControlId::TreeTextures, item);
        const int parent = p.TreeItemParent(ControlId::TreeTextures, item);
        if (parent >= 0) category = p.ItemText(ControlId::TreeTextures, parent);
    }
    return files::Current().textureFolder + category + "/" + selected;
}

stamping::StampSettings WindowMarks(const ProgramState& state) {
    using platform::ControlId;
    stamping::StampSettings settings;
    if (Checked(state, ControlId::OptModeText)) {
        const std::string text = state.platform.GetText(ControlId::TxtMark);
        if (!text.empty()) {
            settings.text = WindowTextMark(state, ControlId::OptTextPos1, text);
            // The window writes its text as it stands; a preset's braces start variables.
            std::string literal;
            for (char c : text) literal += c == '{' ? std::string("{{") : std::string(1, c);
            settings.text->text = literal;
        }
    } else if (Checked(state, ControlId::OptModeLogo)) {
        if (!state.marks.LogoFile.empty()) {
            settings.logo = WindowLogoMark(state, ControlId::OptLogoPos1, ControlId::TrkLogoAlpha);
            if (!state.marks.LogoKeyed) settings.logo->keyColour.reset();
        }
    } else if (state.platform.GetState(ControlId::CmbFrameKind) == kCircleFrameKind) {
        settings.circles = WindowCircleFrame(state);
    } else {
        const std::string tile = SelectedTileFile(state);
        if (tile.find('.') != std::string::npos) settings.texture = WindowTextureFrame(state, tile);
    }
    settings.quality = state.shell.JpegQuality;
    settings.lossless = state.shell.KeepJpegQuality;
    settings.metadata.policy = state.shell.Metadata;
    return settings;
}

}  // namespace velinor::app
