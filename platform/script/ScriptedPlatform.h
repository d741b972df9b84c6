#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "platform/Platform.h"
#include "platform/UserActions.h"
#include "platform/script/Script.h"

namespace velinor::platform {

// A Platform that runs a script against a backend (the headless model or the real Qt
// windows) and logs everything the program shows, one line each.
//
// - WaitEvent runs script lines in order until the backend has an event for the program:
//   answers are queued, print lines write to the log, user actions go through UserActions.
//   A script that is used up closes window 0 (again on every later wait, up to a limit).
// - PollEvent never runs script lines; only "answer cancel-batch N" acts there: while the
//   progress window is open, its (N+1)-th poll clicks BtnBatchCancel.
// - The modal windows answer themselves when the program waits on them: the quality window
//   sets its track bar to the queued "answer quality" value (if any) and gets OK; the colour
//   picker gets the queued click or is closed.
// - Requesters and message boxes are answered from one queue per kind and never reach the
//   backend; unanswered requesters are cancelled, unanswered message boxes take their default.
// - A user action on a control a user could not reach (missing, hidden or disabled, itself,
//   a container it lies in, or its window; a read-only text) is logged as ignored. Which page
//   of a tab panel is shown does not matter, so scripts need not turn pages.
// - Opening a web address is logged and not passed on (a test never starts a browser).
// - Text the program sets in a secondary window (the batch log) is logged, since a script
//   cannot print it while the window is open: "append ID "…"" when the new text extends the
//   old one, else "text ID "…"".
class ScriptedPlatform : public Platform {
public:
    ScriptedPlatform(Platform& backend, UserActions& actions, Script script, std::ostream& log);

    // Where "print image" and "save-image" find the program's numbered images.
    void SetImageSource(std::function<const render::RasterImage*(int)> source);
    // Writes an image losslessly for "save-image"; without one the command logs "not yet".
    void SetImageSaver(std::function<bool(const render::RasterImage&, const std::string&)> saver);
    // How many closes the program may ignore after the script has ended before the run is
    // given up (the program then does not end by itself): called once with a log line.
    void SetRunawayHandler(std::function<void()> handler, int closesAllowed);

    bool ScriptFinished() const { return next_ >= script_.commands.size(); }

    Event WaitEvent() override;
    Event PollEvent() override;
    void AcceptDrops(int window, bool accept) override { backend_.AcceptDrops(window, accept); }

    bool OpenWindow(const WindowSpec& spec) override;
    void CloseWindow(int window) override;
    bool WindowExists(int window) const override { return backend_.WindowExists(window); }
    void ShowWindow(int window, bool shown) override;
    void EnableWindow(int window, bool enabled) override;
    bool WindowEnabled(int window) const override { return backend_.WindowEnabled(window); }
    void SetWindowOpacity(int window, int opacity) override;
    Point WindowPosition(int window) const override { return backend_.WindowPosition(window); }

    bool CreateControl(const ControlSpec& spec) override;
    bool ControlExists(ControlId id) const override { return backend_.ControlExists(id); }
    void SetDefaultControlFont(const std::string& face, int points, bool bold) override {
        backend_.SetDefaultControlFont(face, points, bold);
    }
    void SetText(ControlId id, const std::string& text) override;
    std::string GetText(ControlId id) const override { return backend_.GetText(id); }
    void SetState(ControlId id, int state) override { backend_.SetState(id, state); }
    int GetState(ControlId id) const override { return backend_.GetState(id); }
    void ShowControl(ControlId id, bool shown) override { backend_.ShowControl(id, shown); }
    bool ControlVisible(ControlId id) const override { return backend_.ControlVisible(id); }
    void EnableControl(ControlId id, bool enabled) override { backend_.EnableControl(id, enabled); }
    bool ControlEnabled(ControlId id) const override { return backend_.ControlEnabled(id); }
    void ResizeControl(ControlId id, const Rect& geometry) override { backend_.ResizeControl(id, geometry); }
    Rect ControlGeometry(ControlId id) const override { return backend_.ControlGeometry(id); }
    Rect ControlScreenRect(ControlId id) const override { return backend_.ControlScreenRect(id); }
    void SetControlImage(ControlId id, const render::RasterImage* image) override {
        backend_.SetControlImage(id, image);
    }
    void SetButtonColour(ControlId id, render::Color face, render::Color text) override {
        backend_.SetButtonColour(id, face, text);
    }
    void SetFocus(ControlId id) override { backend_.SetFocus(id); }
    ControlId FocusedControl() const override { return backend_.FocusedControl(); }

    int AddItem(ControlId id, const std::string& text, int position = -1) override {
        return backend_.AddItem(id, text, position);
    }
    void RemoveItem(ControlId id, int index) override { backend_.RemoveItem(id, index); }
    void ClearItems(ControlId id) override { backend_.ClearItems(id); }
    int ItemCount(ControlId id) const override { return backend_.ItemCount(id); }
    std::string ItemText(ControlId id, int index) const override { return backend_.ItemText(id, index); }
    void SetItemText(ControlId id, int index, const std::string& text) override {
        backend_.SetItemText(id, index, text);
    }
    int ItemState(ControlId id, int index) const override { return backend_.ItemState(id, index); }
    void SetItemData(ControlId id, int index, const std::string& data) override {
        backend_.SetItemData(id, index, data);
    }
    std::string ItemData(ControlId id, int index) const override { return backend_.ItemData(id, index); }
    void SetItemState(ControlId id, int index, int state) override { backend_.SetItemState(id, index, state); }
    void SelectAllItems(ControlId id) override { backend_.SelectAllItems(id); }
    void EnsureItemVisible(ControlId id, int index) override { backend_.EnsureItemVisible(id, index); }
    int AddTreeItem(ControlId id, int parent, const std::string& text,
                    const render::RasterImage* icon) override {
        return backend_.AddTreeItem(id, parent, text, icon);
    }
    int TreeItemParent(ControlId id, int index) const override { return backend_.TreeItemParent(id, index); }
    void AddTab(ControlId id, const std::string& text) override { backend_.AddTab(id, text); }
    void RemoveTab(ControlId id, int index) override { backend_.RemoveTab(id, index); }
    void SetTabText(ControlId id, int index, const std::string& text) override {
        backend_.SetTabText(id, index, text);
    }
    int TabCount(ControlId id) const override { return backend_.TabCount(id); }
    void SetColumnText(ControlId id, const std::string& text) override { backend_.SetColumnText(id, text); }
    std::string ColumnText(ControlId id) const override { return backend_.ColumnText(id); }

    void CreateToolbar(int window, const std::vector<std::pair<ToolbarItem, const render::RasterImage*>>& buttons) override {
        backend_.CreateToolbar(window, buttons);
    }
    void SetToolbarPressed(ToolbarItem item, bool pressed) override { backend_.SetToolbarPressed(item, pressed); }
    bool ToolbarPressed(ToolbarItem item) const override { return backend_.ToolbarPressed(item); }
    void CreateStatusBar(int window, const std::vector<int>& fieldWidths) override {
        backend_.CreateStatusBar(window, fieldWidths);
    }
    void SetStatusText(int field, const std::string& text) override { backend_.SetStatusText(field, text); }
    std::string StatusText(int field) const override { return backend_.StatusText(field); }
    void SetStatusImage(int field, const render::RasterImage* image) override {
        backend_.SetStatusImage(field, image);
    }

    std::string OpenFileRequester(const FileRequest& request) override;
    SaveAnswer SaveFileRequester(const FileRequest& request) override;
    std::string FolderRequester(const std::string& title, const std::string& initial) override;
    int ColourRequester(render::Color initial) override;
    std::optional<FontAnswer> FontRequester(const FontRequest& request) override;
    MessageAnswer MessageBox(const std::string& caption, const std::string& text,
                             MessageIcon icon, MessageButtons buttons) override;
    void PictureView(const std::string& title, const render::RasterImage& image, Point centre) override;

    Point PointerPosition() const override { return backend_.PointerPosition(); }
    void SetPointerPosition(Point screen) override { backend_.SetPointerPosition(screen); }
    void SetPointerShape(PointerShape shape) override { backend_.SetPointerShape(shape); }
    bool KeyDown(Key key) const override { return backend_.KeyDown(key); }
    OsVersion GetOsVersion() const override { return backend_.GetOsVersion(); }
    int DisplayDpi() const override { return backend_.DisplayDpi(); }
    void OpenUrl(const std::string& url) override;
    std::string ProgramDirectory() const override { return backend_.ProgramDirectory(); }
    int ScreenPixel(Point screen) const override { return backend_.ScreenPixel(screen); }

private:
    struct Recorded {
        ControlKind kind = ControlKind::Label;
        ControlParent parent;
        unsigned flags = kFlagNone;
    };

    void Execute(const Command& command);
    void Act(const Command& command);
    void Print(const Command& command);
    void SaveImage(const Command& command);
    void Fault(FaultKind kind);
    bool AnswerModalWindow();
    std::optional<std::string> Unreachable(ControlId id) const;
    Point ClientPoint(ControlId id, Point inControl, int& window) const;
    std::string ItemsOf(ControlId id) const;
    void Log(const std::string& line);

    Platform& backend_;
    UserActions& actions_;
    Script script_;
    std::ostream& log_;
    std::size_t next_ = 0;
    std::function<const render::RasterImage*(int)> images_;
    std::function<bool(const render::RasterImage&, const std::string&)> saver_;
    std::function<void()> runaway_;
    int closesAllowed_ = 100;
    int closesAfterEnd_ = 0;

    std::map<ControlId, Recorded> controls_;
    std::map<int, bool> windowShown_;
    std::deque<Command> openAnswers_, saveAnswers_, folderAnswers_, colourAnswers_, fontAnswers_,
        messageAnswers_, qualityAnswers_, pickerAnswers_, cancelBatchAnswers_;
    bool qualityPending_ = false;
    bool pickerPending_ = false;
    std::optional<int> cancelAfter_;
    int batchPolls_ = 0;
};

}  // namespace velinor::platform
