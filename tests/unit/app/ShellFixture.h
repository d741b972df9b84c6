#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "TestFolder.h"
#include "app/Application.h"

namespace velinor::app::testing {

// A working folder with the language file and the picture library the program needs, and a
// fake platform to run the program on.
class ShellFixture : public ::testing::Test {
protected:
    ShellFixture() {
        std::filesystem::copy_file(std::string(VELINOR_SOURCE_DIR) + "/resources/lang.prf", "lang.prf");
        std::filesystem::create_directories("data");
        std::filesystem::copy_file(std::string(VELINOR_STAGE_DIR) + "/data/image323.so", "data/image323.so");
    }

    int RunProgram(std::vector<std::string> arguments = {}) {
        Application application(platform, std::move(arguments));
        return application.Run();
    }

    using Action = std::function<void(FakePlatform&)>;

    void Queue(platform::Event event, Action action = {}) {
        platform.steps.push_back({std::move(action), std::move(event)});
    }
    void QueueControl(platform::ControlId id, Action action = {}, int kind = platform::kKindLeftClick) {
        platform::Event e = MakeEvent(platform::kEventControl);
        e.control = id;
        e.kind = kind;
        Queue(e, std::move(action));
    }
    void QueuePointer(platform::Point at, Action action = {}) {
        Queue(MakeEvent(platform::kEventPointerMove), [at, action](FakePlatform& p) {
            p.pointer = at;
            if (action) action(p);
        });
    }
    void QueueToolbar(platform::ToolbarItem item, Action action = {}) {
        platform::Event e = MakeEvent(platform::kEventToolbar);
        e.toolbarItem = item;
        Queue(e, std::move(action));
    }
    // Runs action after every event queued so far has been handled.
    void Observe(Action action) { Queue(MakeEvent(platform::kEventRepaint), std::move(action)); }

    std::string Text(platform::ControlId id) { return platform.At(id).text; }
    bool Visible(platform::ControlId id) { return platform.At(id).visible; }

    TestFolder folder;
    FakePlatform platform;
};

}  // namespace velinor::app::testing
