#pragma once

#include <functional>

#include "app/ProgramState.h"

namespace velinor::app {

// What a modal window does with one event; true ends the loop.
using ModalHandler = std::function<bool(const platform::Event& event)>;

// Runs the events of the modal window numbered window until it closes: each event goes to
// handle first; the loop ends when handle says so, on a close request for the window, or when
// the window no longer exists (a window system may close it without asking; waiting on would
// hang the program).
void RunModalWindow(ProgramState& state, int window, const ModalHandler& handle);

}  // namespace velinor::app
