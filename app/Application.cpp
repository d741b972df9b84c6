#include "app/Application.h"

#include "app/EventLoop.h"
#include "app/ProgramState.h"
#include "app/StartUp.h"

namespace velinor::app {

namespace {
// Exit code when start-up refuses to go on (the user was told why).
constexpr int kStartRefused = 1;
}  // namespace

Application::Application(platform::Platform& platform, std::vector<std::string> arguments)
    : state_(std::make_unique<ProgramState>(platform, std::move(arguments))) {}

Application::~Application() = default;

int Application::Run() {
    if (!StartUp(*state_)) return kStartRefused;
    return RunEventLoop(*state_);
}

const render::ImageRegistry& Application::Images() const { return state_->images; }

}  // namespace velinor::app
