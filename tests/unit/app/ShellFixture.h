#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "TestFolder.h"
#include "app/Application.h"
#include "platform/headless/HeadlessPlatform.h"
#include "plugins/PluginApi.h"

namespace velinor::app::testing {

// The platform's names the shell's tests speak of throughout.
using platform::ControlId;
using platform::ToolbarItem;

// The in-memory platform with a user who acts in steps, and a record of what the program
// asked of the screen that the model keeps no history of: message boxes, opacity changes and
// windows opened. Folder requesters take their answers from a list.
class RecordingPlatform : public platform::HeadlessPlatform {
public:
    using Step = std::function<void(RecordingPlatform&)>;
    struct Message {
        std::string caption, text;
        platform::MessageIcon icon;
    };

    explicit RecordingPlatform(Options options = {}) : HeadlessPlatform(std::move(options)) {}

    std::deque<Step> steps;
    int stepsTaken = 0;
    std::vector<Message> messages;
    std::vector<int> opacities;
    std::vector<platform::WindowSpec> windowsOpened;
    std::vector<std::string> folderAnswers;
    bool mainWindowClosed = false;

    // The program waits: the user takes the next steps until one of them raises an event.
    // Steps that raise nothing look at the windows between two events. With no steps left the
    // model closes the window.
    platform::Event WaitEvent() override {
        while (!HasPendingEvent() && !steps.empty()) {
            Step step = std::move(steps.front());
            steps.pop_front();
            ++stepsTaken;
            step(*this);
        }
        return HeadlessPlatform::WaitEvent();
    }
    bool OpenWindow(const platform::WindowSpec& spec) override {
        windowsOpened.push_back(spec);
        return HeadlessPlatform::OpenWindow(spec);
    }
    // The main window's controls stay to be looked at after the program has ended.
    void CloseWindow(int window) override {
        if (window == 0) {
            mainWindowClosed = true;
            return;
        }
        HeadlessPlatform::CloseWindow(window);
    }
    void SetWindowOpacity(int window, int opacity) override {
        opacities.push_back(opacity);
        HeadlessPlatform::SetWindowOpacity(window, opacity);
    }
    std::string FolderRequester(const std::string&, const std::string&) override {
        if (folderAnswers.empty()) return {};
        std::string answer = folderAnswers.front();
        folderAnswers.erase(folderAnswers.begin());
        return answer;
    }
    platform::MessageAnswer MessageBox(const std::string& caption, const std::string& text, platform::MessageIcon icon,
                                       platform::MessageButtons buttons) override {
        messages.push_back({caption, text, icon});
        return HeadlessPlatform::MessageBox(caption, text, icon, buttons);
    }

    // A program that ends before the user has taken every step leaves those steps and the
    // checks inside them unrun, and a folder answer never asked for is a requester the program
    // did not show: both are failures, not a shorter test.
    void ExpectEveryStepTaken() {
        if (!folderAnswers.empty()) {
            ADD_FAILURE() << "the program ended with " << folderAnswers.size()
                          << " folder requester answer(s) never asked for, the first " << folderAnswers.front();
            folderAnswers.clear();
        }
        if (steps.empty()) return;
        const int scripted = stepsTaken + static_cast<int>(steps.size());
        ADD_FAILURE() << "the program ended after step " << stepsTaken << " of " << scripted << "; steps "
                      << stepsTaken + 1 << " to " << scripted << " never ran";
        steps.clear();
    }

    // The user moves the pointer to a point on the screen.
    void PointerAt(platform::Point screen) {
        const platform::Point origin = WindowPosition(0);
        UserPointer(0, {screen.x - origin.x, screen.y - origin.y});
    }
    // The user picks the entry of a list or tree that has this text.
    void Pick(platform::ControlId id, const std::string& text) {
        for (int i = 0; i < ItemCount(id); ++i) {
            if (ItemText(id, i) == text) return UserSet(id, i);
        }
        ADD_FAILURE() << "no entry " << text;
    }
};

// A working folder with the language file and the picture library the program needs, and the
// in-memory platform to run the program on.
class ShellFixture : public ::testing::Test {
protected:
    ShellFixture() {
        std::filesystem::copy_file(std::string(VELINOR_SOURCE_DIR) + "/resources/lang.prf", "lang.prf");
        std::filesystem::create_directories("data");
        std::filesystem::copy_file(std::string(VELINOR_STAGE_DIR) + "/data/image323.so", "data/image323.so");
    }

    static int RunProgramOn(RecordingPlatform& on, std::vector<std::string> arguments = {}) {
        Application application(on, std::move(arguments));
        const int status = application.Run();
        on.ExpectEveryStepTaken();
        return status;
    }
    int RunProgram(std::vector<std::string> arguments = {}) { return RunProgramOn(platform, std::move(arguments)); }

    // What the user does next; steps run when the program waits for an event.
    void Then(RecordingPlatform::Step step) { platform.steps.push_back(std::move(step)); }

    // Steps given to a program that never ran are steps never taken too.
    void TearDown() override { platform.ExpectEveryStepTaken(); }

    std::string Text(platform::ControlId id) { return platform.GetText(id); }
    bool Visible(platform::ControlId id) { return platform.ControlVisible(id); }

    TestFolder folder;
    RecordingPlatform platform;
};

}  // namespace velinor::app::testing
