#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/UserActions.h"

namespace velinor::platform {

// The whole window system in memory: windows, controls, items, focus, pointer and an event
// queue. Program calls change state and never raise events; user actions change state the way
// a user's input would and queue the event it raises.
//
// Geometry of the model:
// - the screen is 1024 x 768; windows have no frame, so a window's position is the top-left
//   corner of its client area, and a centred window's client area is centred on the screen;
// - control coordinates are relative to the parent's client area (the toolbar, when there is
//   one, lies inside the window's client area, so controls keep clear of it themselves);
// - the pages of a tab panel start kTabBarHeight pixels below the panel's top edge.
//
// Requesters are not answered here (a script answers them, see ScriptedPlatform): called
// directly they cancel, and message boxes take their default button.
class HeadlessPlatform : public Platform, public UserActions {
public:
    static constexpr int kScreenWidth = 1024;
    static constexpr int kScreenHeight = 768;
    static constexpr int kTabBarHeight = 22;

    struct Options {
        std::string programDirectory;      // ProgramDirectory(); a trailing '/' is added
        OsVersion osVersion{10, 0};
        int dpi = 96;
    };

    HeadlessPlatform();
    explicit HeadlessPlatform(Options options);

    // Platform: events
    Event WaitEvent() override;
    Event PollEvent() override;
    void AcceptDrops(int window, bool accept) override;

    // Platform: windows
    bool OpenWindow(const WindowSpec& spec) override;
    void CloseWindow(int window) override;
    bool WindowExists(int window) const override;
    void ShowWindow(int window, bool shown) override;
    void EnableWindow(int window, bool enabled) override;
    bool WindowEnabled(int window) const override;
    void SetWindowOpacity(int window, int opacity) override;
    Point WindowPosition(int window) const override;

    // Platform: controls
    bool CreateControl(const ControlSpec& spec) override;
    bool ControlExists(ControlId id) const override;
    void SetDefaultControlFont(const std::string& face, int points, bool bold) override;
    void SetText(ControlId id, const std::string& text) override;
    std::string GetText(ControlId id) const override;
    void SetState(ControlId id, int state) override;
    int GetState(ControlId id) const override;
    void ShowControl(ControlId id, bool shown) override;
    bool ControlVisible(ControlId id) const override;
    void EnableControl(ControlId id, bool enabled) override;
    bool ControlEnabled(ControlId id) const override;
    void ResizeControl(ControlId id, const Rect& geometry) override;
    Rect ControlGeometry(ControlId id) const override;
    Rect ControlScreenRect(ControlId id) const override;
    void SetControlImage(ControlId id, const render::RasterImage* image) override;
    void SetButtonColour(ControlId id, render::Color face, render::Color text) override;
    void SetFocus(ControlId id) override;
    ControlId FocusedControl() const override;

    int AddItem(ControlId id, const std::string& text, int position = -1) override;
    void RemoveItem(ControlId id, int index) override;
    void ClearItems(ControlId id) override;
    int ItemCount(ControlId id) const override;
    std::string ItemText(ControlId id, int index) const override;
    void SetItemText(ControlId id, int index, const std::string& text) override;
    int ItemState(ControlId id, int index) const override;
    void SetItemData(ControlId id, int index, const std::string& data) override;
    std::string ItemData(ControlId id, int index) const override;
    void SetItemState(ControlId id, int index, int state) override;
    void SelectAllItems(ControlId id) override;
    void EnsureItemVisible(ControlId id, int index) override;
    int AddTreeItem(ControlId id, int parent, const std::string& text,
                    const render::RasterImage* icon) override;
    int TreeItemParent(ControlId id, int index) const override;
    void AddTab(ControlId id, const std::string& text) override;
    void RemoveTab(ControlId id, int index) override;
    void SetTabText(ControlId id, int index, const std::string& text) override;
    int TabCount(ControlId id) const override;
    void SetColumnText(ControlId id, const std::string& text) override;
    std::string ColumnText(ControlId id) const override;

    void CreateToolbar(int window, const std::vector<std::pair<ToolbarItem, const render::RasterImage*>>& buttons) override;
    void SetToolbarPressed(ToolbarItem item, bool pressed) override;
    bool ToolbarPressed(ToolbarItem item) const override;
    void CreateStatusBar(int window, const std::vector<int>& fieldWidths) override;
    void SetStatusText(int field, const std::string& text) override;
    std::string StatusText(int field) const override;
    void SetStatusImage(int field, const render::RasterImage* image) override;

    std::string OpenFileRequester(const FileRequest& request) override;
    SaveAnswer SaveFileRequester(const FileRequest& request) override;
    std::string FolderRequester(const std::string& title, const std::string& initial) override;
    int ColourRequester(render::Color initial) override;
    std::optional<FontAnswer> FontRequester(const FontRequest& request) override;
    MessageAnswer MessageBox(const std::string& caption, const std::string& text,
                             MessageIcon icon, MessageButtons buttons) override;
    void PictureView(const std::string& title, const render::RasterImage& image, Point centre) override;

    Point PointerPosition() const override;
    void SetPointerPosition(Point screen) override;
    void SetPointerShape(PointerShape shape) override;
    bool KeyDown(Key key) const override;
    OsVersion GetOsVersion() const override;
    int DisplayDpi() const override;
    void OpenUrl(const std::string& url) override;
    std::string ProgramDirectory() const override;
    int ScreenPixel(Point screen) const override;

    // UserActions
    void UserClick(ControlId id) override;
    void UserSet(ControlId id, int value) override;
    void UserType(ControlId id, const std::string& text) override;
    void UserSelect(ControlId id, const std::vector<int>& indices, bool all) override;
    void UserKey(const std::vector<Key>& keysDown) override;
    void UserPointer(int window, Point client) override;
    void UserToolbar(ToolbarItem item) override;
    void UserDrop(const std::vector<std::string>& files) override;
    void UserClose(int window) override;
    bool HasPendingEvent() const override;

    // Inspection for tests and tools.
    std::optional<ControlKind> KindOf(ControlId id) const;
    int OptionGroup(ControlId id) const;              // -1 for anything but an option
    int WindowOpacity(int window) const;
    bool WindowShown(int window) const;
    PointerShape CurrentPointerShape() const { return pointerShape_; }
    const std::vector<std::string>& OpenedUrls() const { return urls_; }
    bool DropsAccepted(int window) const;

private:
    struct Window {
        WindowSpec spec;
        Point position;
        bool shown = true;
        bool enabled = true;
        bool acceptsDrops = false;
        int opacity = 255;
        long order = 0;                      // opening order; later windows lie on top
    };

    struct Item {
        std::string text;
        int state = 0;                       // ItemState bits
        int parent = -1;                     // trees
        std::string data;                    // kept with the entry, not shown
    };

    struct Control {
        ControlSpec spec;                    // kind, parent, pattern, flags as created
        std::string text;
        int state = 0;
        bool shown = true;
        bool enabled = true;
        std::vector<Item> items;
        std::vector<std::string> tabs;
        int group = -1;                      // option group
        std::optional<render::RasterImage> image;
        long order = 0;                      // creation order
    };

    Control* Find(ControlId id);
    const Control* Find(ControlId id) const;
    const Window* FindWindow(int window) const;
    Point ClientOrigin(const ControlParent& parent) const;
    bool ShownWithContainers(const Control& control) const;
    void DestroyControl(ControlId id);
    void DestroyChildrenOf(const std::function<bool(const ControlParent&)>& isChild);
    void CheckOption(Control& option);
    void SelectOnly(Control& list, int index);
    void ChangeFolder(Control& list, const std::string& text);
    void Raise(Event event);
    void RaiseControl(const Control& control, int kind);
    void BeginUserAction();

    Options options_;
    std::map<int, Window> windows_;
    std::map<ControlId, Control> controls_;
    std::deque<Event> queue_;
    long order_ = 0;
    int nextGroup_ = 0;
    bool lastCreatedWasOption_ = false;
    ControlId focus_ = ControlId::None;
    Point pointer_;
    PointerShape pointerShape_ = PointerShape::Arrow;
    std::vector<Key> keysDown_;
    int toolbarWindow_ = -1;
    std::map<ToolbarItem, bool> toolbar_;
    int statusWindow_ = -1;
    std::vector<std::string> statusTexts_;
    std::vector<std::string> urls_;
};

}  // namespace velinor::platform
