#pragma once

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include <QCursor>
#include <QFont>
#include <QObject>
#include <QPointer>

#include "platform/Platform.h"
#include "platform/UserActions.h"

class QAbstractButton;
class QEvent;
class QButtonGroup;
class QToolBar;
class QToolButton;
class QWidget;

namespace velinor::platform::qt {

class HostWindow;
class StatusBarWidget;

// The platform on Qt 6 Widgets. Windows and controls are real widgets placed at the exact
// positions the program gives; user input on them becomes the program's events on one queue.
// Changes the program makes never raise events (widget signals are ignored meanwhile); only
// user input does, and each UserActions call raises the one event its input would.
// Needs a QApplication that outlives it.
class QtPlatform : public QObject, public Platform, public UserActions {
public:
    QtPlatform();
    ~QtPlatform() override;

    // ---- Platform
    Event WaitEvent() override;
    Event PollEvent() override;
    void AcceptDrops(int window, bool accept) override;

    bool OpenWindow(const WindowSpec& spec) override;
    void CloseWindow(int window) override;
    bool WindowExists(int window) const override;
    void ShowWindow(int window, bool shown) override;
    void EnableWindow(int window, bool enabled) override;
    bool WindowEnabled(int window) const override;
    void SetWindowOpacity(int window, int opacity) override;
    Point WindowPosition(int window) const override;

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
    int AddTreeItem(ControlId id, int parent, const std::string& text, const render::RasterImage* icon) override;
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

    // ---- UserActions
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

    // ---- For tests and developer tools
    // With scripted input only user actions raise events: whatever the window system reports
    // (pointer, keys, close, drops, widget input) is left out, so a script sees the same events
    // on any display.
    void SetScriptedInput(bool scripted) { scriptedInput_ = scripted; }
    // The folder to report as the program's own (where texturen/ is found).
    void SetProgramDirectory(std::string folder) { programDirectory_ = std::move(folder); }
    // The operating-system version to report instead of the kernel's.
    void SetOsVersion(OsVersion version) { osVersion_ = version; }
    QWidget* ControlWidget(ControlId id) const;
    QWidget* WindowWidget(int window) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Window {
        std::unique_ptr<HostWindow> widget;
        QPointer<QToolBar> toolbar;
        QPointer<StatusBarWidget> statusBar;
        bool inputEnabled = true;
    };
    struct Control {
        ControlKind kind = ControlKind::Label;
        int window = 0;
        unsigned flags = 0;
        QPointer<QWidget> widget;    // the control itself
        QPointer<QWidget> content;   // where child controls go (inside a container's border)
        QPointer<QButtonGroup> group;
        int listHeight = 0;          // combos: the given height, drop-down list included
    };

    // While one of these lives, widget signals raise no control events: the program is
    // changing its own controls. (Blocking the signals instead would cut item views off from
    // their models.)
    class ProgramChange {
    public:
        explicit ProgramChange(QtPlatform& platform) : platform_(platform) { ++platform_.quiet_; }
        ~ProgramChange() { --platform_.quiet_; }
        ProgramChange(const ProgramChange&) = delete;
        ProgramChange& operator=(const ProgramChange&) = delete;

    private:
        QtPlatform& platform_;
    };

    // Events
    void Push(Event event);
    void PushControlEvent(ControlId id, int kind);
    // A widget signal: an event only when it comes from the user's own input.
    void WidgetSignal(ControlId id, int kind);
    bool TakesWindowSystemInput() const { return quiet_ == 0 && !scriptedInput_; }
    void PushPointerMove(int window);
    int ListChangeKind(ControlKind kind) const;
    int WindowOf(const QObject* object) const;        // window of a widget, -1 not ours

    // Lookup
    const Control* Find(ControlId id) const;
    Window* FindWindow(int window);
    const Window* FindWindow(int window) const;
    QWidget* ParentWidget(const ControlParent& parent) const;
    QWidget* Owner() const;   // the main window, parent of requesters and message boxes

    // Control construction
    QWidget* MakeWidget(const ControlSpec& spec, QWidget* parent, Control& control);
    QString BrowserStart(const std::string& folder) const;   // start folder of the folder browser
    void ConnectSignals(ControlId id, Control& control);
    void TrackPointer(QWidget* widget);

    std::map<int, Window> windows_;
    std::map<ControlId, Control> controls_;
    std::deque<Event> queue_;
    QPointer<QButtonGroup> openGroup_;      // options join it until another kind is created
    std::optional<QFont> controlFont_;
    std::map<ToolbarItem, QPointer<QToolButton>> toolbarButtons_;
    std::map<ToolbarItem, bool> toolbarPressed_;
    std::optional<Point> pointerOverride_;  // pointer placed by a user action or the program
    std::set<Key> keysDown_;                // keys held in real key events
    std::set<Key> userKeysDown_;            // keys held by the last user key action
    std::optional<QCursor> pipette_;
    int quiet_ = 0;
    const QEvent* lastKeyEvent_ = nullptr;   // the key event last seen, and the widget it
    QPointer<QWidget> lastKeyReceiver_;      // reached, to tell propagation from new keys
    bool scriptedInput_ = false;
    std::optional<OsVersion> osVersion_;
    std::string programDirectory_;
};

}  // namespace velinor::platform::qt
