#pragma once

#include <span>

#include "app/ProgramState.h"

namespace velinor::app {

using ControlHandler = void (*)(ProgramState&, platform::ControlId);

// What a control event of one control does. Search a control's name here to find its handler.
struct DispatchEntry {
    platform::ControlId control;
    ControlHandler handler;
};

std::span<const DispatchEntry> DispatchTable();

// Runs the handler of control; a control without an entry does nothing.
void DispatchControlEvent(ProgramState& state, platform::ControlId control);

}  // namespace velinor::app
