// What a user does to the in-memory windows: each action changes the controls as the real
// input would and queues the event that input raises.
#include <algorithm>

#include "platform/headless/HeadlessPlatform.h"

namespace velinor::platform {

void HeadlessPlatform::BeginUserAction() {
    // Keys are held only for the key press that names them.
    keysDown_.clear();
}

void HeadlessPlatform::UserClick(ControlId id) {
    BeginUserAction();
    Control* control = Find(id);
    if (control == nullptr) return;
    if (control->spec.kind == ControlKind::Option) {
        CheckOption(*control);
    } else if (control->spec.kind == ControlKind::Checkbox) {
        control->state = control->state != 0 ? 0 : 1;
    }
    focus_ = id;
    RaiseControl(*control, kKindLeftClick);
}

void HeadlessPlatform::UserSet(ControlId id, int value) {
    BeginUserAction();
    Control* control = Find(id);
    if (control == nullptr) return;
    switch (control->spec.kind) {
    case ControlKind::Spin:
    case ControlKind::TrackBar:
    case ControlKind::TabPanel:
    case ControlKind::Checkbox:
        SetState(id, value);
        break;
    case ControlKind::Option:
        if (value == 0) return;   // a user can only check an option
        CheckOption(*control);
        break;
    case ControlKind::ComboBox:
    case ControlKind::ReportList:
    case ControlKind::FileList:
    case ControlKind::Tree:
        // A user can only pick an entry that is there: the value is clamped to the entries.
        if (control->items.empty()) return;
        SetState(id, std::clamp(value, 0, static_cast<int>(control->items.size()) - 1));
        break;
    default:
        return;   // nothing to set: no change, no event
    }
    focus_ = id;
    RaiseControl(*control, kKindChange);
}

void HeadlessPlatform::UserType(ControlId id, const std::string& text) {
    BeginUserAction();
    Control* control = Find(id);
    if (control == nullptr) return;
    if (control->spec.kind != ControlKind::TextField && control->spec.kind != ControlKind::FolderCombo &&
        control->spec.kind != ControlKind::Spin) {
        return;
    }
    if (control->spec.flags & kFlagReadOnly) return;
    SetText(id, text);
    focus_ = id;
    RaiseControl(*control, kKindChange);
}

void HeadlessPlatform::UserSelect(ControlId id, const std::vector<int>& indices, bool all) {
    BeginUserAction();
    Control* control = Find(id);
    if (control == nullptr || control->items.empty()) return;
    if (control->spec.kind != ControlKind::ReportList && control->spec.kind != ControlKind::FileList &&
        control->spec.kind != ControlKind::Tree) {
        return;
    }
    int count = static_cast<int>(control->items.size());
    int first = -1;
    for (int i = 0; i < count; ++i) {
        bool selected = all || std::find(indices.begin(), indices.end(), i) != indices.end();
        Item& item = control->items[i];
        item.state = selected ? (item.state | kItemSelected) : (item.state & ~kItemSelected);
        if (selected && first < 0) first = i;
    }
    // The entry clicked first becomes the current one.
    if (!all && !indices.empty() && indices.front() >= 0 && indices.front() < count) first = indices.front();
    control->state = first;
    focus_ = id;
    RaiseControl(*control, kKindLeftClick);
}

void HeadlessPlatform::UserKey(const std::vector<Key>& keysDown) {
    BeginUserAction();
    keysDown_ = keysDown;
    Event event;
    event.code = kEventKey;
    const Control* focused = Find(focus_);
    event.window = focused == nullptr ? 0 : focused->spec.parent.window;
    Raise(std::move(event));
}

void HeadlessPlatform::UserPointer(int window, Point client) {
    BeginUserAction();
    const Point origin = WindowPosition(window);
    // Scripts may give any int; the pointer stays within a screen far larger than any real
    // one, so that neither this sum nor later arithmetic on the position can overflow.
    const auto onScreen = [](long long position) {
        constexpr long long kScreenLimit = 1 << 24;
        return static_cast<int>(std::clamp(position, -kScreenLimit, kScreenLimit));
    };
    pointer_ = {onScreen(static_cast<long long>(origin.x) + client.x),
                onScreen(static_cast<long long>(origin.y) + client.y)};
    Raise(Event{.code = kEventPointerMove, .window = window});
}

void HeadlessPlatform::UserToolbar(ToolbarItem item) {
    BeginUserAction();
    Raise(Event{.code = kEventToolbar, .window = std::max(toolbarWindow_, 0), .toolbarItem = item});
}

void HeadlessPlatform::UserDrop(const std::vector<std::string>& files) {
    BeginUserAction();
    if (!DropsAccepted(0)) return;   // the window refuses the files: nothing arrives
    Raise(Event{.code = kEventDrop, .window = 0, .droppedFiles = files});
}

void HeadlessPlatform::UserClose(int window) {
    BeginUserAction();
    Raise(Event{.code = kEventClose, .window = window});
}

}  // namespace velinor::platform
