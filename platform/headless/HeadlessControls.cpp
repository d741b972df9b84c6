// Controls of the in-memory platform: creation, text, state, geometry, items and tab pages.
#include <algorithm>

#include "platform/headless/FolderListing.h"
#include "platform/headless/HeadlessPlatform.h"

namespace velinor::platform {
namespace {

bool IsList(ControlKind kind) {
    return kind == ControlKind::ReportList || kind == ControlKind::FileList ||
           kind == ControlKind::ComboBox || kind == ControlKind::Tree;
}

template <typename T>
bool ValidIndex(const std::vector<T>& items, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < items.size();
}

}  // namespace

HeadlessPlatform::Control* HeadlessPlatform::Find(ControlId id) {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

const HeadlessPlatform::Control* HeadlessPlatform::Find(ControlId id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

bool HeadlessPlatform::CreateControl(const ControlSpec& spec) {
    if (spec.id == ControlId::None || !WindowExists(spec.parent.window)) return false;
    if (spec.parent.control != ControlId::None) {
        const Control* parent = Find(spec.parent.control);
        if (parent == nullptr || parent->spec.parent.window != spec.parent.window) return false;
    }
    // A number that is in use names the new control from now on, as with every numbered object.
    DestroyControl(spec.id);

    Control control;
    control.spec = spec;
    control.spec.image = nullptr;
    control.spec.items.clear();
    control.order = ++order_;
    control.text = spec.text;
    switch (spec.kind) {
    case ControlKind::Spin:
    case ControlKind::TrackBar:
        control.state = std::min(spec.minimum, spec.maximum);
        control.text = spec.kind == ControlKind::Spin ? spec.text : std::string();
        break;
    case ControlKind::ComboBox:
        for (const auto& item : spec.items) control.items.push_back({item, 0, -1, {}});
        control.state = -1;
        break;
    case ControlKind::TabPanel:
        control.tabs = spec.items;
        control.state = control.tabs.empty() ? -1 : 0;
        break;
    case ControlKind::ReportList:
        control.spec.items = spec.items;    // the column header, not entries
        control.state = -1;
        break;
    case ControlKind::Tree:
        control.state = -1;
        break;
    case ControlKind::FileList:
        control.state = -1;
        ChangeFolder(control, spec.text);
        break;
    case ControlKind::FolderCombo:
        control.text = SplitFolderAndPattern(spec.text).folder;
        break;
    case ControlKind::Image:
        if (spec.image != nullptr) control.image = *spec.image;
        break;
    default:
        break;
    }

    // Consecutive options form one group; any other kind of control ends the group.
    if (spec.kind == ControlKind::Option) {
        if (!lastCreatedWasOption_) ++nextGroup_;
        control.group = nextGroup_;
    }
    lastCreatedWasOption_ = spec.kind == ControlKind::Option;

    controls_.emplace(spec.id, std::move(control));
    return true;
}

bool HeadlessPlatform::ControlExists(ControlId id) const { return Find(id) != nullptr; }

void HeadlessPlatform::SetDefaultControlFont(const std::string&, int, bool) {}

void HeadlessPlatform::DestroyControl(ControlId id) {
    auto it = controls_.find(id);
    if (it == controls_.end()) return;
    controls_.erase(it);
    if (focus_ == id) focus_ = ControlId::None;
    DestroyChildrenOf([id](const ControlParent& parent) { return parent.control == id; });
}

void HeadlessPlatform::DestroyChildrenOf(const std::function<bool(const ControlParent&)>& isChild) {
    std::vector<ControlId> children;
    for (const auto& [childId, child] : controls_) {
        if (isChild(child.spec.parent)) children.push_back(childId);
    }
    for (ControlId child : children) DestroyControl(child);
}

void HeadlessPlatform::ChangeFolder(Control& list, const std::string& text) {
    FolderAndPattern target = SplitFolderAndPattern(text);
    if (!target.pattern.empty()) list.spec.pattern = target.pattern;
    list.text = target.folder;
    list.items.clear();
    for (const auto& entry : ListFolder(target.folder, list.spec.pattern)) {
        list.items.push_back({entry.name, entry.isFolder ? kItemFolder : kItemFile, -1, {}});
    }
    list.state = -1;
}

void HeadlessPlatform::SetText(ControlId id, const std::string& text) {
    Control* control = Find(id);
    if (control == nullptr) return;
    switch (control->spec.kind) {
    case ControlKind::FileList:
        ChangeFolder(*control, text);
        break;
    case ControlKind::FolderCombo:
        control->text = SplitFolderAndPattern(text).folder;
        break;
    case ControlKind::ComboBox: {
        // A drop-down list cannot hold free text: the text picks the entry that has it.
        auto found = std::find_if(control->items.begin(), control->items.end(),
                                  [&](const Item& item) { return item.text == text; });
        if (found != control->items.end()) control->state = static_cast<int>(found - control->items.begin());
        break;
    }
    default:
        control->text = text;
        break;
    }
}

std::string HeadlessPlatform::GetText(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr) return {};
    if (control->spec.kind == ControlKind::ComboBox || control->spec.kind == ControlKind::Tree) {
        // A drop-down list and a tree show their current entry as their text.
        return ValidIndex(control->items, control->state) ? control->items[control->state].text
                                                          : std::string();
    }
    return control->text;
}

void HeadlessPlatform::CheckOption(Control& option) {
    for (auto& [id, other] : controls_) {
        if (other.spec.kind == ControlKind::Option && other.group == option.group) other.state = 0;
    }
    option.state = 1;
}

void HeadlessPlatform::SelectOnly(Control& list, int index) {
    for (auto& item : list.items) item.state &= ~kItemSelected;
    if (ValidIndex(list.items, index)) list.items[index].state |= kItemSelected;
}

void HeadlessPlatform::SetState(ControlId id, int state) {
    Control* control = Find(id);
    if (control == nullptr) return;
    switch (control->spec.kind) {
    case ControlKind::Option:
        // Checking one option of a group unchecks the others, as an exclusive group does.
        if (state != 0) {
            CheckOption(*control);
        } else {
            control->state = 0;
        }
        break;
    case ControlKind::Checkbox:
        control->state = state != 0 ? 1 : 0;
        break;
    case ControlKind::Spin:
    case ControlKind::TrackBar:
        control->state = std::clamp(state, std::min(control->spec.minimum, control->spec.maximum),
                                    std::max(control->spec.minimum, control->spec.maximum));
        break;
    case ControlKind::TabPanel:
        if (ValidIndex(control->tabs, state)) control->state = state;
        break;
    case ControlKind::ComboBox:
    case ControlKind::ReportList:
    case ControlKind::FileList:
    case ControlKind::Tree:
        control->state = ValidIndex(control->items, state) ? state : -1;
        if (control->spec.kind != ControlKind::ComboBox) SelectOnly(*control, control->state);
        break;
    default:
        control->state = state;
        break;
    }
}

int HeadlessPlatform::GetState(ControlId id) const {
    const Control* control = Find(id);
    return control == nullptr ? 0 : control->state;
}

void HeadlessPlatform::ShowControl(ControlId id, bool shown) {
    if (Control* control = Find(id)) control->shown = shown;
}

bool HeadlessPlatform::ControlVisible(ControlId id) const {
    const Control* control = Find(id);
    return control != nullptr && control->shown;
}

void HeadlessPlatform::EnableControl(ControlId id, bool enabled) {
    if (Control* control = Find(id)) control->enabled = enabled;
}

bool HeadlessPlatform::ControlEnabled(ControlId id) const {
    const Control* control = Find(id);
    return control != nullptr && control->enabled;
}

void HeadlessPlatform::ResizeControl(ControlId id, const Rect& geometry) {
    if (Control* control = Find(id)) control->spec.geometry = geometry;
}

Rect HeadlessPlatform::ControlGeometry(ControlId id) const {
    const Control* control = Find(id);
    return control == nullptr ? Rect{} : control->spec.geometry;
}

Point HeadlessPlatform::ClientOrigin(const ControlParent& parent) const {
    if (parent.control == ControlId::None) {
        const Window* window = FindWindow(parent.window);
        return window == nullptr ? Point{} : window->position;
    }
    const Control* container = Find(parent.control);
    if (container == nullptr) return {};
    Point origin = ClientOrigin(container->spec.parent);
    origin.x += container->spec.geometry.x;
    origin.y += container->spec.geometry.y;
    if (container->spec.kind == ControlKind::TabPanel) origin.y += kTabBarHeight;
    return origin;
}

Rect HeadlessPlatform::ControlScreenRect(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr) return {};
    Point origin = ClientOrigin(control->spec.parent);
    const Rect& g = control->spec.geometry;
    return {origin.x + g.x, origin.y + g.y, g.width, g.height};
}

void HeadlessPlatform::SetControlImage(ControlId id, const render::RasterImage* image) {
    Control* control = Find(id);
    if (control == nullptr) return;
    if (image == nullptr) {
        control->image.reset();
    } else {
        control->image = *image;
    }
}

void HeadlessPlatform::SetButtonColour(ControlId, render::Color, render::Color) {}

void HeadlessPlatform::SetFocus(ControlId id) {
    if (ControlExists(id)) focus_ = id;
}

ControlId HeadlessPlatform::FocusedControl() const { return focus_; }

// ---------------------------------------------------------------------------------------------
// Items

int HeadlessPlatform::AddItem(ControlId id, const std::string& text, int position) {
    Control* control = Find(id);
    if (control == nullptr) return -1;
    if (control->spec.kind == ControlKind::TabPanel) {
        AddTab(id, text);
        return TabCount(id) - 1;
    }
    if (!IsList(control->spec.kind)) return -1;
    int count = static_cast<int>(control->items.size());
    int index = (position < 0 || position > count) ? count : position;
    Item item{text, control->spec.kind == ControlKind::FileList ? kItemFile : 0, -1, {}};
    control->items.insert(control->items.begin() + index, item);
    if (control->state >= index) ++control->state;
    if (control->spec.kind == ControlKind::Tree) {
        for (auto& other : control->items) {
            if (other.parent >= index) ++other.parent;
        }
    }
    return index;
}

void HeadlessPlatform::RemoveItem(ControlId id, int index) {
    Control* control = Find(id);
    if (control == nullptr) return;
    if (control->spec.kind == ControlKind::TabPanel) {
        RemoveTab(id, index);
        return;
    }
    if (!ValidIndex(control->items, index)) return;
    if (control->spec.kind == ControlKind::Tree) {
        // A tree entry goes with its children (children always follow their parent).
        std::vector<bool> doomed(control->items.size(), false);
        doomed[index] = true;
        for (std::size_t i = index + 1; i < control->items.size(); ++i) {
            int parent = control->items[i].parent;
            if (parent >= 0 && doomed[parent]) doomed[i] = true;
        }
        std::vector<int> newIndex(control->items.size(), -1);
        std::vector<Item> kept;
        for (std::size_t i = 0; i < control->items.size(); ++i) {
            if (doomed[i]) continue;
            newIndex[i] = static_cast<int>(kept.size());
            kept.push_back(control->items[i]);
        }
        for (auto& item : kept) {
            if (item.parent >= 0) item.parent = newIndex[item.parent];
        }
        control->state = ValidIndex(control->items, control->state) ? newIndex[control->state] : -1;
        control->items = std::move(kept);
        return;
    }
    control->items.erase(control->items.begin() + index);
    if (control->state == index) {
        control->state = -1;
    } else if (control->state > index) {
        --control->state;
    }
}

void HeadlessPlatform::ClearItems(ControlId id) {
    Control* control = Find(id);
    if (control == nullptr || !IsList(control->spec.kind)) return;
    control->items.clear();
    control->state = -1;
}

int HeadlessPlatform::ItemCount(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr) return 0;
    if (control->spec.kind == ControlKind::TabPanel) return static_cast<int>(control->tabs.size());
    return static_cast<int>(control->items.size());
}

std::string HeadlessPlatform::ItemText(ControlId id, int index) const {
    const Control* control = Find(id);
    if (control == nullptr) return {};
    if (control->spec.kind == ControlKind::TabPanel) {
        return ValidIndex(control->tabs, index) ? control->tabs[index] : std::string();
    }
    return ValidIndex(control->items, index) ? control->items[index].text : std::string();
}

void HeadlessPlatform::SetItemText(ControlId id, int index, const std::string& text) {
    Control* control = Find(id);
    if (control == nullptr) return;
    if (control->spec.kind == ControlKind::TabPanel) {
        SetTabText(id, index, text);
    } else if (ValidIndex(control->items, index)) {
        control->items[index].text = text;
    }
}

void HeadlessPlatform::SetItemData(ControlId id, int index, const std::string& data) {
    Control* control = Find(id);
    if (control == nullptr || !IsList(control->spec.kind) || !ValidIndex(control->items, index)) return;
    control->items[index].data = data;
}

std::string HeadlessPlatform::ItemData(ControlId id, int index) const {
    const Control* control = Find(id);
    if (control == nullptr || !ValidIndex(control->items, index)) return {};
    return control->items[index].data;
}

int HeadlessPlatform::ItemState(ControlId id, int index) const {
    const Control* control = Find(id);
    if (control == nullptr || !ValidIndex(control->items, index)) return 0;
    return control->items[index].state;
}

void HeadlessPlatform::SetItemState(ControlId id, int index, int state) {
    Control* control = Find(id);
    if (control == nullptr || !ValidIndex(control->items, index)) return;
    // The kind bits belong to the entry; the program changes only the selection.
    Item& item = control->items[index];
    item.state = (item.state & ~kItemSelected) | (state & kItemSelected);
}

void HeadlessPlatform::SelectAllItems(ControlId id) {
    Control* control = Find(id);
    if (control == nullptr) return;
    for (auto& item : control->items) item.state |= kItemSelected;
}

void HeadlessPlatform::EnsureItemVisible(ControlId, int) {}

int HeadlessPlatform::AddTreeItem(ControlId id, int parent, const std::string& text,
                                  const render::RasterImage*) {
    Control* control = Find(id);
    if (control == nullptr || control->spec.kind != ControlKind::Tree) return -1;
    if (!ValidIndex(control->items, parent)) {
        control->items.push_back({text, 0, -1, {}});
        return static_cast<int>(control->items.size()) - 1;
    }
    // A child goes after its parent's last descendant, so that the entries stay in display order.
    int index = parent + 1;
    auto isDescendant = [&](int i) {
        for (int p = control->items[i].parent; p >= 0; p = control->items[p].parent) {
            if (p == parent) return true;
        }
        return false;
    };
    while (index < static_cast<int>(control->items.size()) && isDescendant(index)) ++index;
    for (auto& item : control->items) {
        if (item.parent >= index) ++item.parent;
    }
    control->items.insert(control->items.begin() + index, Item{text, 0, parent, {}});
    if (control->state >= index) ++control->state;
    return index;
}

int HeadlessPlatform::TreeItemParent(ControlId id, int index) const {
    const Control* control = Find(id);
    if (control == nullptr || !ValidIndex(control->items, index)) return -1;
    return control->items[index].parent;
}

// ---------------------------------------------------------------------------------------------
// Tab pages

void HeadlessPlatform::AddTab(ControlId id, const std::string& text) {
    Control* control = Find(id);
    if (control == nullptr || control->spec.kind != ControlKind::TabPanel) return;
    control->tabs.push_back(text);
    if (control->state < 0) control->state = 0;
}

void HeadlessPlatform::RemoveTab(ControlId id, int index) {
    Control* control = Find(id);
    if (control == nullptr || control->spec.kind != ControlKind::TabPanel ||
        !ValidIndex(control->tabs, index)) {
        return;
    }
    control->tabs.erase(control->tabs.begin() + index);
    // The page goes with the controls on it; later pages move up by one.
    DestroyChildrenOf([id, index](const ControlParent& parent) {
        return parent.control == id && parent.tab == index;
    });
    for (auto& [childId, child] : controls_) {
        if (child.spec.parent.control == id && child.spec.parent.tab > index) --child.spec.parent.tab;
    }
    int count = static_cast<int>(control->tabs.size());
    if (control->state >= count) control->state = count - 1;
}

void HeadlessPlatform::SetTabText(ControlId id, int index, const std::string& text) {
    Control* control = Find(id);
    if (control != nullptr && ValidIndex(control->tabs, index)) control->tabs[index] = text;
}

int HeadlessPlatform::TabCount(ControlId id) const {
    const Control* control = Find(id);
    return control == nullptr ? 0 : static_cast<int>(control->tabs.size());
}

void HeadlessPlatform::SetColumnText(ControlId id, const std::string& text) {
    Control* control = Find(id);
    if (control == nullptr || control->spec.kind != ControlKind::ReportList) return;
    if (control->spec.items.empty()) control->spec.items.emplace_back();
    control->spec.items.front() = text;
}

std::string HeadlessPlatform::ColumnText(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr || control->spec.kind != ControlKind::ReportList || control->spec.items.empty()) return {};
    return control->spec.items.front();
}

// ---------------------------------------------------------------------------------------------
// Inspection

std::optional<ControlKind> HeadlessPlatform::KindOf(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr) return std::nullopt;
    return control->spec.kind;
}

int HeadlessPlatform::OptionGroup(ControlId id) const {
    const Control* control = Find(id);
    return control == nullptr ? -1 : control->group;
}

}  // namespace velinor::platform
