#include "platform/script/ScriptedPlatform.h"

#include <algorithm>
#include <stdexcept>

#include "platform/script/ControlNames.h"
#include "platform/script/LogText.h"
#include "runtime/FaultProbe.h"

namespace velinor::platform {
namespace {

const char* IconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information: return "information";
    case MessageIcon::Warning: return "warning";
    case MessageIcon::Error: return "error";
    default: return "none";
    }
}

const char* AnswerName(MessageAnswer answer) {
    switch (answer) {
    case MessageAnswer::Yes: return "yes";
    case MessageAnswer::No: return "no";
    default: return "ok";
    }
}

std::string FileRequestText(const char* kind, const FileRequest& request) {
    return std::string("requester ") + kind + " title=" + Quote(request.title) +
           " default=" + Quote(request.defaultFile) + " pattern=" + Quote(request.pattern) +
           " index=" + std::to_string(request.patternIndex);
}

std::optional<Command> Take(std::deque<Command>& queue) {
    if (queue.empty()) return std::nullopt;
    Command command = std::move(queue.front());
    queue.pop_front();
    return command;
}

bool Settable(ControlKind kind) {
    switch (kind) {
    case ControlKind::Spin:
    case ControlKind::TrackBar:
    case ControlKind::ComboBox:
    case ControlKind::TabPanel:
    case ControlKind::ReportList:
    case ControlKind::FileList:
    case ControlKind::Tree:
    case ControlKind::Checkbox:
    case ControlKind::Option:
        return true;
    default:
        return false;
    }
}

}  // namespace

ScriptedPlatform::ScriptedPlatform(Platform& backend, UserActions& actions, Script script, std::ostream& log)
    : backend_(backend), actions_(actions), script_(std::move(script)), log_(log) {}

void ScriptedPlatform::SetImageSource(std::function<const render::RasterImage*(int)> source) {
    images_ = std::move(source);
}

void ScriptedPlatform::SetImageSaver(std::function<bool(const render::RasterImage&, const std::string&)> saver) {
    saver_ = std::move(saver);
}

void ScriptedPlatform::SetRunawayHandler(std::function<void()> handler, int closesAllowed) {
    runaway_ = std::move(handler);
    closesAllowed_ = closesAllowed;
}

void ScriptedPlatform::Log(const std::string& line) { log_ << line << '\n' << std::flush; }

// ---------------------------------------------------------------------------------------------
// Events

Event ScriptedPlatform::WaitEvent() {
    for (;;) {
        if (actions_.HasPendingEvent()) return backend_.PollEvent();
        if (AnswerModalWindow()) continue;
        if (next_ < script_.commands.size()) {
            Execute(script_.commands[next_++]);
            continue;
        }
        // The script is used up: the user closes the program. A program that keeps waiting
        // after many closes would never end, so the run is given up.
        if (++closesAfterEnd_ > closesAllowed_ && runaway_) {
            Log("script ended but the program keeps waiting");
            auto handler = std::move(runaway_);
            runaway_ = nullptr;
            handler();
        }
        actions_.UserClose(0);
    }
}

Event ScriptedPlatform::PollEvent() {
    if (cancelAfter_ && backend_.WindowExists(kProgressWindow)) {
        if (++batchPolls_ == *cancelAfter_ + 1) {
            cancelAfter_.reset();
            actions_.UserClick(ControlId::BtnBatchCancel);
        }
    }
    return backend_.PollEvent();
}

bool ScriptedPlatform::AnswerModalWindow() {
    if (backend_.WindowExists(kQualityWindow)) {
        if (qualityPending_) {
            qualityPending_ = false;
            if (auto answer = Take(qualityAnswers_)) {
                actions_.UserSet(ControlId::TrkQuality, answer->numbers[0]);
                if (answer->numbers.size() > 1 && backend_.ControlExists(ControlId::ChkKeepQuality)) {
                    actions_.UserSet(ControlId::ChkKeepQuality, answer->numbers[1]);
                }
            }
        }
        actions_.UserClick(ControlId::BtnQualityOk);
        return true;
    }
    if (backend_.WindowExists(kPickerWindow)) {
        std::optional<Command> answer;
        if (pickerPending_) answer = Take(pickerAnswers_);
        pickerPending_ = false;
        if (answer && !answer->cancel && backend_.ControlExists(ControlId::ImgPicker)) {
            int window = kPickerWindow;
            Point client = ClientPoint(ControlId::ImgPicker, {answer->numbers[0], answer->numbers[1]}, window);
            actions_.UserPointer(window, client);
            actions_.UserClick(ControlId::ImgPicker);
        } else {
            actions_.UserClose(kPickerWindow);
        }
        return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Script lines

void ScriptedPlatform::Fault(FaultKind kind) {
    switch (kind) {
    case FaultKind::DivideByZero: runtime::DivideByZero(); break;
    case FaultKind::NullWrite: runtime::WriteThroughNull(); break;
    case FaultKind::Exception: throw std::runtime_error("An exception that no handler caught");
    }
}

void ScriptedPlatform::Execute(const Command& command) {
    switch (command.kind) {
    case CommandKind::AnswerOpen: openAnswers_.push_back(command); break;
    case CommandKind::AnswerSave: saveAnswers_.push_back(command); break;
    case CommandKind::AnswerFolder: folderAnswers_.push_back(command); break;
    case CommandKind::AnswerColour: colourAnswers_.push_back(command); break;
    case CommandKind::AnswerFont: fontAnswers_.push_back(command); break;
    case CommandKind::AnswerMessage: messageAnswers_.push_back(command); break;
    case CommandKind::AnswerQuality: qualityAnswers_.push_back(command); break;
    case CommandKind::AnswerPicker: pickerAnswers_.push_back(command); break;
    case CommandKind::AnswerCancelBatch: cancelBatchAnswers_.push_back(command); break;
    case CommandKind::PrintText:
    case CommandKind::PrintState:
    case CommandKind::PrintVisible:
    case CommandKind::PrintEnabled:
    case CommandKind::PrintItems:
    case CommandKind::PrintGeometry:
    case CommandKind::PrintStatus:
    case CommandKind::PrintImage:
        Print(command);
        break;
    case CommandKind::SaveImage:
        SaveImage(command);
        break;
    case CommandKind::Fault:
        Fault(command.fault);
        break;
    default:
        Act(command);
        break;
    }
}

std::optional<std::string> ScriptedPlatform::Unreachable(ControlId id) const {
    if (!backend_.ControlExists(id)) return "no such control";
    int window = 0;
    for (ControlId current = id; current != ControlId::None;) {
        std::string where = current == id ? std::string() : " in " + ControlIdName(current);
        if (!backend_.ControlVisible(current)) return "hidden" + where;
        if (!backend_.ControlEnabled(current)) return "disabled" + where;
        auto found = controls_.find(current);
        if (found == controls_.end()) break;
        window = found->second.parent.window;
        current = found->second.parent.control;
    }
    if (!backend_.WindowEnabled(window)) return "window " + std::to_string(window) + " disabled";
    return std::nullopt;
}

void ScriptedPlatform::Act(const Command& command) {
    std::string name = ControlIdName(command.control);
    auto ignored = [&](const std::string& verb, const std::string& why) {
        Log("ignored " + verb + " " + name + ": " + why);
    };
    auto kind = [&]() -> std::optional<ControlKind> {
        auto found = controls_.find(command.control);
        if (found == controls_.end()) return std::nullopt;
        return found->second.kind;
    };

    switch (command.kind) {
    case CommandKind::Click:
        if (auto why = Unreachable(command.control)) return ignored("click", *why);
        actions_.UserClick(command.control);
        break;
    case CommandKind::Set:
        if (auto why = Unreachable(command.control)) return ignored("set", *why);
        if (!kind() || !Settable(*kind())) return ignored("set", "not a control with a value");
        actions_.UserSet(command.control, command.numbers[0]);
        break;
    case CommandKind::Type: {
        if (auto why = Unreachable(command.control)) return ignored("type", *why);
        auto k = kind();
        if (!k || (*k != ControlKind::TextField && *k != ControlKind::FolderCombo && *k != ControlKind::Spin)) {
            return ignored("type", "not a text field");
        }
        if (controls_.at(command.control).flags & kFlagReadOnly) return ignored("type", "read-only");
        actions_.UserType(command.control, command.strings[0]);
        break;
    }
    case CommandKind::Select: {
        if (auto why = Unreachable(command.control)) return ignored("select", *why);
        auto k = kind();
        if (!k || (*k != ControlKind::ReportList && *k != ControlKind::FileList && *k != ControlKind::Tree)) {
            return ignored("select", "not a list");
        }
        if (backend_.ItemCount(command.control) == 0) return ignored("select", "empty list");
        actions_.UserSelect(command.control, command.numbers, command.all);
        break;
    }
    case CommandKind::Key:
        actions_.UserKey(command.keys);
        break;
    case CommandKind::Pointer:
        actions_.UserPointer(0, {command.numbers[0], command.numbers[1]});
        break;
    case CommandKind::Hover: {
        if (!backend_.ControlExists(command.control)) return ignored("hover", "no such control");
        Rect rect = backend_.ControlScreenRect(command.control);
        int window = 0;
        Point client = ClientPoint(command.control, {rect.width / 2, rect.height / 2}, window);
        actions_.UserPointer(window, client);
        break;
    }
    case CommandKind::Toolbar:
        actions_.UserToolbar(command.toolbarItem);
        break;
    case CommandKind::Drop:
        actions_.UserDrop(command.strings);
        if (!actions_.HasPendingEvent()) Log("ignored drop: the window does not accept files");
        break;
    case CommandKind::Close:
        actions_.UserClose(command.numbers[0]);
        break;
    default:
        break;
    }
}

Point ScriptedPlatform::ClientPoint(ControlId id, Point inControl, int& window) const {
    // The client origin of the control's window on the screen follows from any control placed
    // directly in that window: its screen rectangle less its geometry.
    auto found = controls_.find(id);
    window = found == controls_.end() ? 0 : found->second.parent.window;
    Point origin = backend_.WindowPosition(window);
    for (const auto& [otherId, other] : controls_) {
        if (other.parent.window != window || other.parent.control != ControlId::None ||
            !backend_.ControlExists(otherId)) {
            continue;
        }
        Rect screen = backend_.ControlScreenRect(otherId);
        Rect geometry = backend_.ControlGeometry(otherId);
        origin = {screen.x - geometry.x, screen.y - geometry.y};
        break;
    }
    Rect rect = backend_.ControlScreenRect(id);
    return {rect.x - origin.x + inControl.x, rect.y - origin.y + inControl.y};
}

std::string ScriptedPlatform::ItemsOf(ControlId id) const {
    auto found = controls_.find(id);
    ControlKind kind = found == controls_.end() ? ControlKind::ReportList : found->second.kind;
    int count = kind == ControlKind::TabPanel ? backend_.TabCount(id) : backend_.ItemCount(id);
    // Entries of a list: quoted text, then '/' for a folder and '*' for a selected entry, then
    // the text kept with the entry, if any, after '='.
    auto entry = [&](int i) {
        std::string text = Quote(backend_.ItemText(id, i));
        if (kind == ControlKind::ReportList || kind == ControlKind::FileList) {
            int state = backend_.ItemState(id, i);
            if (state & kItemFolder) text += '/';
            if (state & kItemSelected) text += '*';
        }
        if (kind != ControlKind::TabPanel) {
            const std::string data = backend_.ItemData(id, i);
            if (!data.empty()) text += "=" + Quote(data);
        }
        return text;
    };
    if (kind != ControlKind::Tree) {
        std::string out = "[";
        for (int i = 0; i < count; ++i) out += (i ? ", " : "") + entry(i);
        return out + "]";
    }
    // A tree prints each entry's children in brackets after it.
    std::function<std::string(int)> level = [&](int parent) {
        std::string out = "[";
        bool first = true;
        for (int i = 0; i < count; ++i) {
            if (backend_.TreeItemParent(id, i) != parent) continue;
            out += (first ? "" : ", ") + entry(i);
            first = false;
            bool hasChildren = false;
            for (int j = i + 1; j < count && !hasChildren; ++j) hasChildren = backend_.TreeItemParent(id, j) == i;
            if (hasChildren) out += " " + level(i);
        }
        return out + "]";
    };
    return level(-1);
}

void ScriptedPlatform::Print(const Command& command) {
    if (command.kind == CommandKind::PrintStatus) {
        Log("status " + Quote(backend_.StatusText(0)));
        return;
    }
    if (command.kind == CommandKind::PrintImage) {
        int number = command.numbers[0];
        const render::RasterImage* image = images_ ? images_(number) : nullptr;
        if (image == nullptr) {
            Log("image " + std::to_string(number) + " none");
        } else {
            Log("image " + std::to_string(number) + " " + std::to_string(image->width) + " " +
                std::to_string(image->height));
        }
        return;
    }
    ControlId id = command.control;
    std::string head = ControlIdName(id);
    const char* what = "";
    std::string value;
    switch (command.kind) {
    case CommandKind::PrintText: what = "text"; value = Quote(backend_.GetText(id)); break;
    case CommandKind::PrintState: what = "state"; value = std::to_string(backend_.GetState(id)); break;
    case CommandKind::PrintVisible: what = "visible"; value = backend_.ControlVisible(id) ? "1" : "0"; break;
    case CommandKind::PrintEnabled: what = "enabled"; value = backend_.ControlEnabled(id) ? "1" : "0"; break;
    case CommandKind::PrintItems: what = "items"; value = ItemsOf(id); break;
    case CommandKind::PrintGeometry: {
        what = "geometry";
        Rect g = backend_.ControlGeometry(id);
        value = std::to_string(g.x) + " " + std::to_string(g.y) + " " + std::to_string(g.width) + " " +
                std::to_string(g.height);
        break;
    }
    default: break;
    }
    if (!backend_.ControlExists(id)) value = "missing";
    Log(std::string(what) + " " + head + " " + value);
}

void ScriptedPlatform::SaveImage(const Command& command) {
    int number = command.numbers[0];
    const std::string& path = command.strings[0];
    if (!saver_) {
        Log("save-image not yet");
        return;
    }
    const render::RasterImage* image = images_ ? images_(number) : nullptr;
    if (image == nullptr) {
        Log("save-image " + std::to_string(number) + " none");
    } else if (!saver_(*image, path)) {
        Log("save-image " + std::to_string(number) + " failed " + Quote(path));
    }
}

// ---------------------------------------------------------------------------------------------
// Windows and controls the log follows

bool ScriptedPlatform::OpenWindow(const WindowSpec& spec) {
    bool opened = backend_.OpenWindow(spec);
    std::string line = "window open " + std::to_string(spec.number) + " " + Quote(spec.title) + " " +
                       std::to_string(spec.clientWidth) + "x" + std::to_string(spec.clientHeight);
    if (spec.hidden) line += " hidden";
    if (!opened) line += " failed";
    Log(line);
    if (!opened) return false;
    windowShown_[spec.number] = !spec.hidden;
    if (spec.number == kQualityWindow) qualityPending_ = true;
    if (spec.number == kPickerWindow) pickerPending_ = true;
    if (spec.number == kProgressWindow) {
        batchPolls_ = 0;
        cancelAfter_.reset();
        if (auto answer = Take(cancelBatchAnswers_)) cancelAfter_ = answer->numbers[0];
    }
    return true;
}

void ScriptedPlatform::CloseWindow(int window) {
    bool existed = backend_.WindowExists(window);
    backend_.CloseWindow(window);
    if (existed) Log("window close " + std::to_string(window));
    windowShown_.erase(window);
}

void ScriptedPlatform::ShowWindow(int window, bool shown) {
    backend_.ShowWindow(window, shown);
    auto found = windowShown_.find(window);
    if (found != windowShown_.end() && found->second != shown) {
        found->second = shown;
        Log("window show " + std::to_string(window) + (shown ? " 1" : " 0"));
    }
}

void ScriptedPlatform::EnableWindow(int window, bool enabled) {
    bool before = backend_.WindowEnabled(window);
    backend_.EnableWindow(window, enabled);
    if (backend_.WindowExists(window) && before != enabled) {
        Log("window enable " + std::to_string(window) + (enabled ? " 1" : " 0"));
    }
}

void ScriptedPlatform::SetWindowOpacity(int window, int opacity) {
    backend_.SetWindowOpacity(window, opacity);
    Log("window opacity " + std::to_string(window) + " " + std::to_string(opacity));
}

bool ScriptedPlatform::CreateControl(const ControlSpec& spec) {
    bool created = backend_.CreateControl(spec);
    if (created) controls_[spec.id] = Recorded{spec.kind, spec.parent, spec.flags};
    return created;
}

void ScriptedPlatform::SetText(ControlId id, const std::string& text) {
    auto found = controls_.find(id);
    bool secondary = found != controls_.end() && found->second.parent.window != 0 && backend_.ControlExists(id);
    std::string before = secondary ? backend_.GetText(id) : std::string();
    backend_.SetText(id, text);
    if (!secondary || text == before) return;
    if (!before.empty() && text.size() > before.size() && text.compare(0, before.size(), before) == 0) {
        Log("append " + ControlIdName(id) + " " + Quote(std::string_view(text).substr(before.size())));
    } else {
        Log("text " + ControlIdName(id) + " " + Quote(text));
    }
}

void ScriptedPlatform::OpenUrl(const std::string& url) { Log("url " + Quote(url)); }

// ---------------------------------------------------------------------------------------------
// Requesters

std::string ScriptedPlatform::OpenFileRequester(const FileRequest& request) {
    auto answer = Take(openAnswers_);
    std::string path = (answer && !answer->cancel) ? answer->strings[0] : std::string();
    Log(FileRequestText("open", request) + " -> " + (path.empty() ? std::string("cancel") : Quote(path)));
    return path;
}

SaveAnswer ScriptedPlatform::SaveFileRequester(const FileRequest& request) {
    auto answer = Take(saveAnswers_);
    SaveAnswer result;
    if (answer && !answer->cancel && !answer->strings[0].empty()) {
        result.path = answer->strings[0];
        result.patternIndex = answer->numbers[0];
    }
    Log(FileRequestText("save", request) + " -> " +
        (result.path.empty() ? std::string("cancel") : Quote(result.path) + " " + std::to_string(result.patternIndex)));
    return result;
}

std::string ScriptedPlatform::FolderRequester(const std::string& title, const std::string& initial) {
    auto answer = Take(folderAnswers_);
    std::string path = (answer && !answer->cancel) ? answer->strings[0] : std::string();
    if (!path.empty() && path.back() != '/') path += '/';
    Log("requester folder title=" + Quote(title) + " initial=" + Quote(initial) + " -> " +
        (path.empty() ? std::string("cancel") : Quote(path)));
    return path;
}

void ScriptedPlatform::PictureView(const std::string& title, const render::RasterImage& image, Point centre) {
    // Closed at once: a script has no way to look at it, and the real window would wait.
    Log("view title=" + Quote(title) + " size=" + std::to_string(image.width) + "x" + std::to_string(image.height) +
        " centre=" + std::to_string(centre.x) + "," + std::to_string(centre.y));
}

int ScriptedPlatform::ColourRequester(render::Color initial) {
    auto answer = Take(colourAnswers_);
    int colour = (answer && !answer->cancel) ? answer->numbers[0] : -1;
    Log("requester colour initial=" + Hex6(initial) + " -> " + (colour < 0 ? std::string("cancel") : Hex6(colour)));
    return colour;
}

std::optional<FontAnswer> ScriptedPlatform::FontRequester(const FontRequest& request) {
    auto answer = Take(fontAnswers_);
    std::string line = "requester font face=" + Quote(request.face) + " size=" + std::to_string(request.pointSize);
    if (request.colour >= 0) line += " colour=" + Hex6(request.colour);
    if (!answer || answer->cancel) {
        Log(line + " -> cancel");
        return std::nullopt;
    }
    FontAnswer font = answer->font;
    // Without a colour in the answer the requester returns the colour it started with.
    if (!answer->fontColourGiven) font.colour = request.colour >= 0 ? static_cast<render::Color>(request.colour) : 0;
    line += " -> " + Quote(font.face) + " " + std::to_string(font.sizeTenths);
    if (font.bold) line += " bold";
    if (font.italic) line += " italic";
    if (font.underline) line += " underline";
    if (font.strikeOut) line += " strikeout";
    Log(line + " colour=" + Hex6(font.colour));
    return font;
}

MessageAnswer ScriptedPlatform::MessageBox(const std::string& caption, const std::string& text,
                                           MessageIcon icon, MessageButtons buttons) {
    auto answer = Take(messageAnswers_);
    MessageAnswer result = buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    // Only an answer the box offers counts; any other leaves the default button.
    if (answer && buttons == MessageButtons::YesNo && answer->message != MessageAnswer::Ok) result = answer->message;
    Log("message caption=" + Quote(caption) + " text=" + Quote(text) + " icon=" + IconName(icon) +
        " buttons=" + (buttons == MessageButtons::YesNo ? "yesno" : "ok") + " -> " + AnswerName(result));
    return result;
}

}  // namespace velinor::platform
