#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/ControlId.h"
#include "render/RasterImage.h"

// The one interface between the program and its windowing system. The application talks to
// the screen only through it; platform/headless implements it in memory for tests and scripts,
// platform/qt with real Qt widgets.
namespace velinor::platform {

// ---------------------------------------------------------------------------------------------
// Events

// Event codes the program distinguishes (its own numbering, kept by every backend).
enum EventCode : int {
    kEventNone = 0,
    kEventClose = 0x10,
    kEventKey = 0x100,
    kEventDrop = 0x233,
    kEventControl = 0x332C,
    kEventToolbar = 0x332D,
    // The platform's own non-control events: they drive the mode panels and status hints.
    kEventPointerMove = 0x200,
    kEventRepaint = 0x0F,
};

// Control event kinds. Focus changes raise no event: no handler acts on them.
enum EventKind : int {
    kKindLeftClick = 0,      // buttons, options, checkboxes, list clicks
    kKindDoubleClick = 2,    // image controls: a double click (after the click of its first press)
    kKindChange = 0x300,     // a value or the current entry changed (spins, track bars, lists, text)
};

struct Event {
    int code = kEventNone;
    int window = 0;                          // window the event came from
    ControlId control = ControlId::None;     // control events
    int kind = kKindLeftClick;               // control events
    ToolbarItem toolbarItem = ToolbarItem::None;  // toolbar events
    std::vector<std::string> droppedFiles{};  // drop events, full paths
};

// ---------------------------------------------------------------------------------------------
// Windows

struct WindowSpec {
    int number = 0;
    std::string title;
    int clientWidth = 0;
    int clientHeight = 0;
    int x = 0, y = 0;           // used when not centred
    bool centred = true;
    int owner = -1;             // owning window number, -1 none
    bool hidden = false;        // created hidden (shown later with ShowWindow)
    bool captionOnly = false;   // title bar without system menu or close button
    bool minimiseButton = false;
};

struct Point {
    int x = 0, y = 0;
};

struct Rect {
    int x = 0, y = 0, width = 0, height = 0;
    bool Contains(Point p) const { return p.x >= x && p.y >= y && p.x < x + width && p.y < y + height; }
};

// ---------------------------------------------------------------------------------------------
// Controls

enum class ControlKind {
    Label,
    TextField,
    Button,
    Frame,           // group box with caption
    Option,          // consecutive options form one group until another kind is created
    Checkbox,
    ComboBox,        // drop-down list
    Spin,
    TrackBar,
    Image,           // shows a RasterImage
    Container,
    TabPanel,
    ReportList,      // list with one column header
    FolderCombo,     // drop-down of folders, kept in step with a FileList by the program
    FileList,        // entries of a folder filtered by a pattern
    Tree,            // entries with 16 x 16 icons and child entries
};

// Flags of a control.
enum ControlFlag : unsigned {
    kFlagNone = 0,
    kFlagReadOnly = 1u << 0,
    kFlagMultiLine = 1u << 1,
    kFlagCentred = 1u << 2,
    kFlagBorder = 1u << 3,         // containers with a sunken border
    kFlagScrollBars = 1u << 4,     // both scroll bars, automatic scrolling
};

// Where a control lives: directly in a window's client area (below its toolbar), on a page of
// a tab panel, or inside a container.
struct ControlParent {
    int window = 0;
    ControlId control = ControlId::None;   // None: the window's client area
    int tab = -1;                          // page index when control is a tab panel
};

struct ControlSpec {
    ControlId id = ControlId::None;
    ControlKind kind = ControlKind::Label;
    ControlParent parent;
    Rect geometry;
    std::string text;                      // caption, text, or start folder of file lists
    int minimum = 0, maximum = 0;          // spins and track bars
    std::vector<std::string> items;        // combo box entries, tab names, list column header
    std::string pattern;                   // file list filter, "*.jpg;*.bmp"
    unsigned flags = kFlagNone;
    const render::RasterImage* image = nullptr;  // image controls
};

// Explorer list item state bits.
enum ItemState : int { kItemFile = 1, kItemFolder = 2, kItemSelected = 4 };

// ---------------------------------------------------------------------------------------------
// Requesters

enum class MessageIcon { None, Information, Warning, Error };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct FileRequest {
    std::string title;
    std::string defaultFile;
    std::string pattern;          // "Desc|*.a;*.b|Desc2|*.c"
    int patternIndex = 0;
    // Where to start when defaultFile names no folder (the opened picture's folder for a save);
    // empty leaves it to the platform. Not part of what a script logs.
    std::string folderHint;
};

struct SaveAnswer {
    std::string path;             // empty when cancelled
    int patternIndex = -1;        // -1 when cancelled
};

struct FontRequest {
    std::string face;
    int pointSize = 0;
    int colour = -1;              // preset colour 0x00BBGGRR, -1 none (starts black)
};

struct FontAnswer {
    std::string face;
    int sizeTenths = 0;           // size in tenths of a point
    render::Color colour = 0;
    bool bold = false, italic = false, underline = false, strikeOut = false;
};

// Mouse pointer shapes.
enum class PointerShape { Arrow, Picker };

struct OsVersion {
    int major = 0, minor = 0;
};

// Keys whose asynchronous state the program reads.
enum class Key { Control, A };

// ---------------------------------------------------------------------------------------------

class Platform {
public:
    virtual ~Platform() = default;

    // Events. WaitEvent blocks until an event is there; PollEvent never blocks (code 0: none).
    virtual Event WaitEvent() = 0;
    virtual Event PollEvent() = 0;
    virtual void AcceptDrops(int window, bool accept) = 0;

    // Windows
    virtual bool OpenWindow(const WindowSpec& spec) = 0;
    virtual void CloseWindow(int window) = 0;
    virtual bool WindowExists(int window) const = 0;
    virtual void ShowWindow(int window, bool shown) = 0;
    virtual void EnableWindow(int window, bool enabled) = 0;
    virtual bool WindowEnabled(int window) const = 0;
    virtual void SetWindowOpacity(int window, int opacity) = 0;   // 0..255, where supported
    virtual Point WindowPosition(int window) const = 0;          // outer left, top on the screen

    // Controls
    virtual bool CreateControl(const ControlSpec& spec) = 0;
    virtual bool ControlExists(ControlId id) const = 0;
    virtual void SetDefaultControlFont(const std::string& face, int points, bool bold) = 0;

    virtual void SetText(ControlId id, const std::string& text) = 0;
    virtual std::string GetText(ControlId id) const = 0;
    // State: checked (options, checkboxes), value (spins, track bars), current entry (combos,
    // lists, trees; -1 none), shown page (tab panels). Checking an option unchecks the rest of
    // its group.
    virtual void SetState(ControlId id, int state) = 0;
    virtual int GetState(ControlId id) const = 0;
    virtual void ShowControl(ControlId id, bool shown) = 0;
    // The control's own shown state as ShowControl left it, whatever its containers, tab page or
    // window show (scripts walk the containers themselves, so both backends log alike).
    virtual bool ControlVisible(ControlId id) const = 0;
    virtual void EnableControl(ControlId id, bool enabled) = 0;
    // The control's own enabled state, likewise.
    virtual bool ControlEnabled(ControlId id) const = 0;
    virtual void ResizeControl(ControlId id, const Rect& geometry) = 0;
    virtual Rect ControlGeometry(ControlId id) const = 0;        // relative to the parent
    virtual Rect ControlScreenRect(ControlId id) const = 0;      // outer rectangle on the screen
    virtual void SetControlImage(ControlId id, const render::RasterImage* image) = 0;  // copied; null clears
    virtual void SetButtonColour(ControlId id, render::Color face, render::Color text) = 0;
    virtual void SetFocus(ControlId id) = 0;
    virtual ControlId FocusedControl() const = 0;

    // Items of combo boxes, lists, file lists and trees (index from 0).
    virtual int AddItem(ControlId id, const std::string& text, int position = -1) = 0;
    virtual void RemoveItem(ControlId id, int index) = 0;
    virtual void ClearItems(ControlId id) = 0;
    virtual int ItemCount(ControlId id) const = 0;
    // Of a tab panel: the tab's text.
    virtual std::string ItemText(ControlId id, int index) const = 0;
    virtual void SetItemText(ControlId id, int index, const std::string& text) = 0;
    virtual int ItemState(ControlId id, int index) const = 0;     // ItemState bits
    // A text kept with an entry of a list or combo box and not shown (the full path of a list
    // entry that shows only a file name). It stays with its entry while other entries are added
    // or removed and while its text changes; a new entry has none (empty).
    virtual void SetItemData(ControlId id, int index, const std::string& data) = 0;
    virtual std::string ItemData(ControlId id, int index) const = 0;
    virtual void SetItemState(ControlId id, int index, int state) = 0;
    virtual void SelectAllItems(ControlId id) = 0;
    virtual void EnsureItemVisible(ControlId id, int index) = 0;
    // Trees: add an entry under parent (-1 top level); returns its index. Icon may be null.
    virtual int AddTreeItem(ControlId id, int parent, const std::string& text,
                            const render::RasterImage* icon) = 0;
    virtual int TreeItemParent(ControlId id, int index) const = 0;  // -1 for top level
    // Tab panels
    virtual void AddTab(ControlId id, const std::string& text) = 0;
    virtual void RemoveTab(ControlId id, int index) = 0;
    virtual void SetTabText(ControlId id, int index, const std::string& text) = 0;
    virtual int TabCount(ControlId id) const = 0;
    // Report lists: the text of the column header.
    virtual void SetColumnText(ControlId id, const std::string& text) = 0;
    virtual std::string ColumnText(ControlId id) const = 0;

    // Toolbar and status bar of a window
    virtual void CreateToolbar(int window, const std::vector<std::pair<ToolbarItem, const render::RasterImage*>>& buttons) = 0;
    virtual void SetToolbarPressed(ToolbarItem item, bool pressed) = 0;
    virtual bool ToolbarPressed(ToolbarItem item) const = 0;
    virtual void CreateStatusBar(int window, const std::vector<int>& fieldWidths) = 0;
    virtual void SetStatusText(int field, const std::string& text) = 0;
    virtual std::string StatusText(int field) const = 0;
    virtual void SetStatusImage(int field, const render::RasterImage* image) = 0;

    // Requesters
    virtual std::string OpenFileRequester(const FileRequest& request) = 0;       // "" cancelled
    virtual SaveAnswer SaveFileRequester(const FileRequest& request) = 0;
    virtual std::string FolderRequester(const std::string& title, const std::string& initial) = 0;  // "" cancelled; ends with '/'
    virtual int ColourRequester(render::Color initial) = 0;                       // -1 cancelled
    virtual std::optional<FontAnswer> FontRequester(const FontRequest& request) = 0;
    virtual MessageAnswer MessageBox(const std::string& caption, const std::string& text,
                                     MessageIcon icon, MessageButtons buttons) = 0;
    // A picture at its own size in a scrollable window owned by the main window, scrolled so
    // that centre (a pixel of the picture) is in the middle; returns when the user closes it
    // (Escape or the close button).
    virtual void PictureView(const std::string& title, const render::RasterImage& image, Point centre) = 0;

    // Pointer, keys, system
    virtual Point PointerPosition() const = 0;                  // screen coordinates
    virtual void SetPointerPosition(Point screen) = 0;
    virtual void SetPointerShape(PointerShape shape) = 0;
    virtual bool KeyDown(Key key) const = 0;                    // asynchronous key state
    virtual OsVersion GetOsVersion() const = 0;
    virtual int DisplayDpi() const = 0;                         // vertical pixels per inch
    virtual void OpenUrl(const std::string& url) = 0;
    virtual std::string ProgramDirectory() const = 0;           // folder of the program file, ends with '/'
    // Colour of a screen pixel, -1 when the screen cannot be read.
    virtual int ScreenPixel(Point screen) const = 0;
};

}  // namespace velinor::platform
