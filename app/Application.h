#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "render/ImageRegistry.h"

namespace velinor::app {

struct ProgramState;

// The whole program on one platform: start-up, the event loop and shut-down.
class Application {
public:
    // arguments: the command-line parameters after the program name.
    Application(platform::Platform& platform, std::vector<std::string> arguments);
    ~Application();

    // Runs start-up and the event loop until the program ends; returns the exit code.
    int Run();

    // The numbered images (scripts inspect them).
    const render::ImageRegistry& Images() const;

private:
    std::unique_ptr<ProgramState> state_;
};

}  // namespace velinor::app
