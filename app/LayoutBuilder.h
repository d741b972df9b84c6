#pragma once

#include <span>

#include "app/MainWindowLayout.h"
#include "app/ProgramState.h"

// Turns layout tables into windows and controls: the main window's rows and those of the
// secondary windows are built the same way.
namespace velinor::app {

// A window built from a table: always owned by the main window.
struct WindowLayout {
    int number = 0;
    TextRef title{};
    int clientWidth = 0;
    int clientHeight = 0;
    bool centred = true;           // else placed at the main window's recorded position
    bool captionOnly = false;      // a title bar without system menu or close button
    std::span<const LayoutRow> rows{};
};

// The text a reference stands for; a key with a literal is that literal followed by the entry.
std::string ResolveText(const ProgramState& state, const TextRef& text);

// The control a row describes, inside the window numbered window.
platform::ControlSpec SpecOf(const ProgramState& state, int window, const LayoutRow& row);

// Opens the window the layout describes (its controls not yet created); false when the
// platform refuses it.
bool OpenLayoutWindow(ProgramState& state, const WindowLayout& layout);

// Creates the layout's controls in order, stopping at the first one the platform refuses
// (false then).
bool CreateLayoutControls(ProgramState& state, const WindowLayout& layout);

}  // namespace velinor::app
