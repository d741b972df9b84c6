// Windows, events, toolbar, status bar, requesters and system queries of the in-memory platform.
#include <algorithm>

#include "platform/headless/HeadlessPlatform.h"

namespace velinor::platform {

HeadlessPlatform::HeadlessPlatform() : HeadlessPlatform(Options{}) {}

HeadlessPlatform::HeadlessPlatform(Options options) : options_(std::move(options)) {
    if (!options_.programDirectory.empty() && options_.programDirectory.back() != '/') {
        options_.programDirectory += '/';
    }
}

// ---------------------------------------------------------------------------------------------
// Events

Event HeadlessPlatform::WaitEvent() {
    // Nobody is left to act: a waiting program is told to close rather than hang.
    if (queue_.empty()) {
        Event close;
        close.code = kEventClose;
        close.window = 0;
        return close;
    }
    return PollEvent();
}

Event HeadlessPlatform::PollEvent() {
    if (queue_.empty()) return Event{};
    Event event = std::move(queue_.front());
    queue_.pop_front();
    return event;
}

bool HeadlessPlatform::HasPendingEvent() const { return !queue_.empty(); }

void HeadlessPlatform::Raise(Event event) { queue_.push_back(std::move(event)); }

void HeadlessPlatform::RaiseControl(const Control& control, int kind) {
    Event event;
    event.code = kEventControl;
    event.window = control.spec.parent.window;
    event.control = control.spec.id;
    event.kind = kind;
    Raise(std::move(event));
}

void HeadlessPlatform::AcceptDrops(int window, bool accept) {
    auto it = windows_.find(window);
    if (it != windows_.end()) it->second.acceptsDrops = accept;
}

bool HeadlessPlatform::DropsAccepted(int window) const {
    const Window* found = FindWindow(window);
    return found != nullptr && found->acceptsDrops;
}

// ---------------------------------------------------------------------------------------------
// Windows

const HeadlessPlatform::Window* HeadlessPlatform::FindWindow(int window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

bool HeadlessPlatform::OpenWindow(const WindowSpec& spec) {
    if (spec.number < 0 || spec.clientWidth < 0 || spec.clientHeight < 0) return false;
    if (spec.owner >= 0 && !WindowExists(spec.owner)) return false;
    CloseWindow(spec.number);
    Window window;
    window.spec = spec;
    if (spec.centred) {
        window.position = {(kScreenWidth - spec.clientWidth) / 2, (kScreenHeight - spec.clientHeight) / 2};
    } else {
        window.position = {spec.x, spec.y};
    }
    window.shown = !spec.hidden;
    window.order = ++order_;
    windows_[spec.number] = window;
    return true;
}

void HeadlessPlatform::CloseWindow(int window) {
    if (windows_.erase(window) == 0) return;
    DestroyChildrenOf([window](const ControlParent& parent) {
        return parent.window == window && parent.control == ControlId::None;
    });
    if (toolbarWindow_ == window) {
        toolbarWindow_ = -1;
        toolbar_.clear();
    }
    if (statusWindow_ == window) {
        statusWindow_ = -1;
        statusTexts_.clear();
    }
}

bool HeadlessPlatform::WindowExists(int window) const { return FindWindow(window) != nullptr; }

void HeadlessPlatform::ShowWindow(int window, bool shown) {
    auto it = windows_.find(window);
    if (it != windows_.end()) it->second.shown = shown;
}

bool HeadlessPlatform::WindowShown(int window) const {
    const Window* found = FindWindow(window);
    return found != nullptr && found->shown;
}

void HeadlessPlatform::EnableWindow(int window, bool enabled) {
    auto it = windows_.find(window);
    if (it != windows_.end()) it->second.enabled = enabled;
}

bool HeadlessPlatform::WindowEnabled(int window) const {
    const Window* found = FindWindow(window);
    return found != nullptr && found->enabled;
}

void HeadlessPlatform::SetWindowOpacity(int window, int opacity) {
    auto it = windows_.find(window);
    if (it != windows_.end()) it->second.opacity = std::clamp(opacity, 0, 255);
}

int HeadlessPlatform::WindowOpacity(int window) const {
    const Window* found = FindWindow(window);
    return found == nullptr ? 0 : found->opacity;
}

Point HeadlessPlatform::WindowPosition(int window) const {
    const Window* found = FindWindow(window);
    return found == nullptr ? Point{} : found->position;
}

// ---------------------------------------------------------------------------------------------
// Toolbar and status bar

void HeadlessPlatform::CreateToolbar(int window,
                                     const std::vector<std::pair<ToolbarItem, const render::RasterImage*>>& buttons) {
    if (!WindowExists(window)) return;
    toolbarWindow_ = window;
    toolbar_.clear();
    for (const auto& button : buttons) toolbar_[button.first] = false;
}

void HeadlessPlatform::SetToolbarPressed(ToolbarItem item, bool pressed) {
    auto it = toolbar_.find(item);
    if (it != toolbar_.end()) it->second = pressed;
}

bool HeadlessPlatform::ToolbarPressed(ToolbarItem item) const {
    auto it = toolbar_.find(item);
    return it != toolbar_.end() && it->second;
}

void HeadlessPlatform::CreateStatusBar(int window, const std::vector<int>& fieldWidths) {
    if (!WindowExists(window)) return;
    statusWindow_ = window;
    statusTexts_.assign(std::max<std::size_t>(fieldWidths.size(), 1), std::string());
}

void HeadlessPlatform::SetStatusText(int field, const std::string& text) {
    if (field >= 0 && static_cast<std::size_t>(field) < statusTexts_.size()) statusTexts_[field] = text;
}

std::string HeadlessPlatform::StatusText(int field) const {
    if (field < 0 || static_cast<std::size_t>(field) >= statusTexts_.size()) return {};
    return statusTexts_[field];
}

void HeadlessPlatform::SetStatusImage(int, const render::RasterImage*) {}

// ---------------------------------------------------------------------------------------------
// Requesters: nobody answers, so each is cancelled or takes its default button.

std::string HeadlessPlatform::OpenFileRequester(const FileRequest&) { return {}; }

SaveAnswer HeadlessPlatform::SaveFileRequester(const FileRequest&) { return {}; }

std::string HeadlessPlatform::FolderRequester(const std::string&, const std::string&) { return {}; }

int HeadlessPlatform::ColourRequester(render::Color) { return -1; }

std::optional<FontAnswer> HeadlessPlatform::FontRequester(const FontRequest&) { return std::nullopt; }

MessageAnswer HeadlessPlatform::MessageBox(const std::string&, const std::string&, MessageIcon,
                                           MessageButtons buttons) {
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

void HeadlessPlatform::PictureView(const std::string&, const render::RasterImage&, Point) {}

// ---------------------------------------------------------------------------------------------
// Pointer, keys, system

Point HeadlessPlatform::PointerPosition() const { return pointer_; }

void HeadlessPlatform::SetPointerPosition(Point screen) { pointer_ = screen; }

void HeadlessPlatform::SetPointerShape(PointerShape shape) { pointerShape_ = shape; }

bool HeadlessPlatform::KeyDown(Key key) const {
    return std::find(keysDown_.begin(), keysDown_.end(), key) != keysDown_.end();
}

OsVersion HeadlessPlatform::GetOsVersion() const { return options_.osVersion; }

int HeadlessPlatform::DisplayDpi() const { return options_.dpi; }

void HeadlessPlatform::OpenUrl(const std::string& url) { urls_.push_back(url); }

std::string HeadlessPlatform::ProgramDirectory() const { return options_.programDirectory; }

bool HeadlessPlatform::ShownWithContainers(const Control& control) const {
    for (const Control* current = &control; current != nullptr; current = Find(current->spec.parent.control)) {
        if (!current->shown) return false;
        if (current->spec.parent.control == ControlId::None) break;
    }
    return true;
}

int HeadlessPlatform::ScreenPixel(Point screen) const {
    // The screen is what the image controls show: the topmost shown image under the point,
    // in the latest opened window first, then the latest created control.
    const Control* best = nullptr;
    long bestWindow = -1;
    for (const auto& [id, control] : controls_) {
        if (control.spec.kind != ControlKind::Image || !control.image || !ShownWithContainers(control)) continue;
        const Window* window = FindWindow(control.spec.parent.window);
        if (window == nullptr || !window->shown) continue;
        Rect rect = ControlScreenRect(id);
        if (!rect.Contains(screen)) continue;
        int x = screen.x - rect.x, y = screen.y - rect.y;
        if (!control.image->Contains(x, y)) continue;
        if (window->order > bestWindow || (window->order == bestWindow && control.order > best->order)) {
            best = &control;
            bestWindow = window->order;
        }
    }
    if (best == nullptr) return -1;
    Rect rect = ControlScreenRect(best->spec.id);
    return static_cast<int>(best->image->At(screen.x - rect.x, screen.y - rect.y));
}

}  // namespace velinor::platform
