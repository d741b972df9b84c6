#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace velinor::app::testing {

inline platform::Event MakeEvent(int code) {
    platform::Event e;
    e.code = code;
    return e;
}

// A platform that remembers what the program did to it, for tests of the shell. Controls keep
// text, state, visibility and items; events come from a queue the test fills.
class FakePlatform : public platform::Platform {
public:
    struct Control {
        platform::ControlSpec spec;
        std::string text;
        int state = 0;
        bool visible = true;
        bool enabled = true;
        platform::Rect screen;            // set by tests that move the pointer
        std::vector<std::string> items;
        std::vector<int> itemParents;
        std::vector<std::string> tabs;
    };
    struct Message {
        std::string caption, text;
        platform::MessageIcon icon;
    };

    std::map<platform::ControlId, Control> controls;
    std::vector<platform::ControlId> creationOrder;
    // One user step: what the user does to the controls, then the event that raises.
    struct Step {
        std::function<void(FakePlatform&)> action;
        platform::Event event;
    };
    std::deque<Step> steps;
    std::vector<Message> messages;
    std::vector<int> opacities;
    std::vector<platform::WindowSpec> windowsOpened;
    std::map<int, bool> windowShown;
    std::map<platform::ToolbarItem, bool> toolbar;
    std::vector<std::string> status = std::vector<std::string>(1);
    std::vector<std::string> folderAnswers;   // next folder requester answers, in order
    std::vector<std::string> urlsOpened;
    platform::Point pointer;
    platform::OsVersion os{10, 0};
    std::string programDirectory = "/nonexistent/";
    int polls = 0;

    Control& At(platform::ControlId id) { return controls[id]; }

    // With no steps left the user closes the window.
    platform::Event WaitEvent() override {
        if (steps.empty()) return MakeEvent(platform::kEventClose);
        Step step = std::move(steps.front());
        steps.pop_front();
        if (step.action) step.action(*this);
        return step.event;
    }
    platform::Event PollEvent() override {
        ++polls;
        if (steps.empty()) return {};
        return WaitEvent();
    }
    void AcceptDrops(int, bool) override {}

    bool OpenWindow(const platform::WindowSpec& spec) override {
        windowsOpened.push_back(spec);
        windowShown[spec.number] = !spec.hidden;
        return true;
    }
    void CloseWindow(int window) override { windowShown.erase(window); }
    bool WindowExists(int window) const override { return windowShown.count(window) != 0; }
    void ShowWindow(int window, bool shown) override { windowShown[window] = shown; }
    void EnableWindow(int, bool) override {}
    bool WindowEnabled(int) const override { return true; }
    void SetWindowOpacity(int, int opacity) override { opacities.push_back(opacity); }
    platform::Point WindowPosition(int) const override { return {100, 50}; }

    bool CreateControl(const platform::ControlSpec& spec) override {
        Control& c = controls[spec.id];
        c.spec = spec;
        c.text = spec.text;
        c.screen = spec.geometry;
        using K = platform::ControlKind;
        if (spec.kind == K::Tree || spec.kind == K::ReportList || spec.kind == K::FileList) c.state = -1;
        if (spec.kind == K::Spin || spec.kind == K::TrackBar) c.state = spec.minimum;
        if (spec.kind == platform::ControlKind::TabPanel) c.tabs = spec.items;
        else if (spec.kind == platform::ControlKind::ComboBox) c.items = spec.items;
        creationOrder.push_back(spec.id);
        return true;
    }
    bool ControlExists(platform::ControlId id) const override { return controls.count(id) != 0; }
    void SetDefaultControlFont(const std::string&, int, bool) override {}

    void SetText(platform::ControlId id, const std::string& text) override { At(id).text = text; }
    std::string GetText(platform::ControlId id) const override { return Find(id).text; }
    void SetState(platform::ControlId id, int state) override { At(id).state = state; }
    int GetState(platform::ControlId id) const override { return Find(id).state; }
    void ShowControl(platform::ControlId id, bool shown) override { At(id).visible = shown; }
    bool ControlVisible(platform::ControlId id) const override { return Find(id).visible; }
    void EnableControl(platform::ControlId id, bool enabled) override { At(id).enabled = enabled; }
    bool ControlEnabled(platform::ControlId id) const override { return Find(id).enabled; }
    void ResizeControl(platform::ControlId id, const platform::Rect& g) override { At(id).spec.geometry = g; }
    platform::Rect ControlGeometry(platform::ControlId id) const override { return Find(id).spec.geometry; }
    platform::Rect ControlScreenRect(platform::ControlId id) const override { return Find(id).screen; }
    void SetControlImage(platform::ControlId, const render::RasterImage*) override {}
    void SetButtonColour(platform::ControlId, render::Color, render::Color) override {}
    void SetFocus(platform::ControlId) override {}
    platform::ControlId FocusedControl() const override { return platform::ControlId::None; }

    int AddItem(platform::ControlId id, const std::string& text, int) override {
        At(id).items.push_back(text);
        return static_cast<int>(At(id).items.size()) - 1;
    }
    void RemoveItem(platform::ControlId id, int index) override {
        auto& items = At(id).items;
        if (index >= 0 && index < static_cast<int>(items.size())) items.erase(items.begin() + index);
    }
    void ClearItems(platform::ControlId id) override { At(id).items.clear(); }
    int ItemCount(platform::ControlId id) const override { return static_cast<int>(Find(id).items.size()); }
    std::string ItemText(platform::ControlId id, int index) const override {
        const auto& items = Find(id).items;
        return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
    }
    void SetItemText(platform::ControlId id, int index, const std::string& text) override { At(id).items.at(index) = text; }
    int ItemState(platform::ControlId, int) const override { return 0; }
    void SetItemData(platform::ControlId, int, const std::string&) override {}
    std::string ItemData(platform::ControlId, int) const override { return {}; }
    void SetItemState(platform::ControlId, int, int) override {}
    void SelectAllItems(platform::ControlId) override {}
    void EnsureItemVisible(platform::ControlId, int) override {}
    int AddTreeItem(platform::ControlId id, int parent, const std::string& text, const render::RasterImage*) override {
        At(id).itemParents.push_back(parent);
        return AddItem(id, text, -1);
    }
    int TreeItemParent(platform::ControlId id, int index) const override { return Find(id).itemParents.at(index); }
    void AddTab(platform::ControlId id, const std::string& text) override { At(id).tabs.push_back(text); }
    void RemoveTab(platform::ControlId id, int index) override {
        auto& tabs = At(id).tabs;
        if (index >= 0 && index < static_cast<int>(tabs.size())) tabs.erase(tabs.begin() + index);
    }
    void SetTabText(platform::ControlId id, int index, const std::string& text) override { At(id).tabs.at(index) = text; }
    int TabCount(platform::ControlId id) const override { return static_cast<int>(Find(id).tabs.size()); }

    void CreateToolbar(int, const std::vector<std::pair<platform::ToolbarItem, const render::RasterImage*>>& buttons) override {
        for (const auto& b : buttons) toolbar[b.first] = false;
    }
    void SetToolbarPressed(platform::ToolbarItem item, bool pressed) override { toolbar[item] = pressed; }
    bool ToolbarPressed(platform::ToolbarItem item) const override {
        auto it = toolbar.find(item);
        return it != toolbar.end() && it->second;
    }
    void CreateStatusBar(int, const std::vector<int>&) override {}
    void SetStatusText(int field, const std::string& text) override { status.at(field) = text; }
    std::string StatusText(int field) const override { return status.at(field); }
    void SetStatusImage(int, const render::RasterImage*) override {}

    std::string OpenFileRequester(const platform::FileRequest&) override { return {}; }
    platform::SaveAnswer SaveFileRequester(const platform::FileRequest&) override { return {}; }
    std::string FolderRequester(const std::string&, const std::string&) override {
        if (folderAnswers.empty()) return {};
        std::string answer = folderAnswers.front();
        folderAnswers.erase(folderAnswers.begin());
        return answer;
    }
    int ColourRequester(render::Color) override { return -1; }
    std::optional<platform::FontAnswer> FontRequester(const platform::FontRequest&) override { return std::nullopt; }
    platform::MessageAnswer MessageBox(const std::string& caption, const std::string& text, platform::MessageIcon icon,
                                       platform::MessageButtons) override {
        messages.push_back({caption, text, icon});
        return platform::MessageAnswer::Ok;
    }

    platform::Point PointerPosition() const override { return pointer; }
    void SetPointerPosition(platform::Point p) override { pointer = p; }
    void SetPointerShape(platform::PointerShape) override {}
    bool KeyDown(platform::Key) const override { return false; }
    platform::OsVersion GetOsVersion() const override { return os; }
    int DisplayDpi() const override { return 96; }
    void OpenUrl(const std::string& url) override { urlsOpened.push_back(url); }
    std::string ProgramDirectory() const override { return programDirectory; }
    int ScreenPixel(platform::Point) const override { return -1; }

private:
    const Control& Find(platform::ControlId id) const {
        static const Control kMissing;
        auto it = controls.find(id);
        return it == controls.end() ? kMissing : it->second;
    }
};

}  // namespace velinor::app::testing
