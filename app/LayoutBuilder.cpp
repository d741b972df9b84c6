#include "app/LayoutBuilder.h"

#include <string>

#include "app/Relabel.h"

namespace velinor::app {

std::string ResolveText(const ProgramState& state, const TextRef& text) {
    switch (text.source) {
        case TextRef::Source::Key:
            return (text.literal != nullptr ? std::string(text.literal) : std::string()) + state.texts[text.key];
        case TextRef::Source::Literal: return text.literal;
        case TextRef::Source::DefaultDir: return state.shell.DefaultDir;
        case TextRef::Source::Info: return InfoText(state.texts);
        case TextRef::Source::Website: return kWebsiteLabel;
        case TextRef::Source::None: break;
    }
    return {};
}

platform::ControlSpec SpecOf(const ProgramState& state, int window, const LayoutRow& row) {
    platform::ControlSpec spec;
    spec.id = row.id;
    spec.kind = row.kind;
    spec.parent = {window, row.parent.control, row.parent.tab};
    spec.geometry = row.geometry;
    spec.text = ResolveText(state, row.text);
    spec.minimum = row.minimum;
    spec.maximum = row.maximum;
    for (const TextRef& item : row.items) spec.items.push_back(ResolveText(state, item));
    if (row.pattern != nullptr) spec.pattern = row.pattern;
    spec.flags = row.flags;
    if (row.image != 0) spec.image = state.images.Find(row.image);
    return spec;
}

bool OpenLayoutWindow(ProgramState& state, const WindowLayout& layout) {
    platform::WindowSpec window;
    window.number = layout.number;
    window.title = ResolveText(state, layout.title);
    window.clientWidth = layout.clientWidth;
    window.clientHeight = layout.clientHeight;
    window.centred = layout.centred;
    if (!layout.centred) {
        window.x = state.shell.windowPosition.x;
        window.y = state.shell.windowPosition.y;
    }
    window.owner = kMainWindow;
    window.captionOnly = layout.captionOnly;
    return state.platform.OpenWindow(window);
}

bool CreateLayoutControls(ProgramState& state, const WindowLayout& layout) {
    for (const LayoutRow& row : layout.rows) {
        if (!state.platform.CreateControl(SpecOf(state, layout.number, row))) return false;
    }
    return true;
}

}  // namespace velinor::app
