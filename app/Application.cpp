#include "app/Application.h"

#include "app/EventLoop.h"
#include "app/ProgramState.h"
#include "app/RuntimeErrorHandler.h"
#include "app/StartUp.h"
#include "runtime/ErrorReport.h"

namespace velinor::app {

namespace {
// Exit code when start-up refuses to go on (the user was told why).
constexpr int kStartRefused = 1;
}  // namespace

Application::Application(platform::Platform& platform, std::vector<std::string> arguments)
    : state_(std::make_unique<ProgramState>(platform, std::move(arguments))) {}

Application::~Application() { RemoveRuntimeErrorHandler(*state_); }

int Application::Run() {
    int exitCode = 0;
    try {
        exitCode = StartUp(*state_) ? RunEventLoop(*state_) : kStartRefused;
    } catch (...) {
        // An exception that no handler caught ends the program with the same report as a
        // processor fault, and the same exit code.
        ShowRuntimeErrorReport(*state_, runtime::ExceptionReport(std::current_exception()));
        exitCode = 0;
    }
    RemoveRuntimeErrorHandler(*state_);
    return exitCode;
}

const render::ImageRegistry& Application::Images() const { return state_->images; }

}  // namespace velinor::app
