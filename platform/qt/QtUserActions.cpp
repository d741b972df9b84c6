// User actions performed on the real widgets through their own input paths (a button's
// click(), a slider's setValue(), a list's current entry), so that the widgets behave as under
// real input: option groups switch, lists scroll, folders open. Each action then raises exactly
// one event of the kind the program expects for it, the same on every backend, so a script
// gives the same log here as on the in-memory platform. The action also takes the keyboard
// focus, as a click on the control would.
#include <algorithm>

#include <QAbstractButton>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include "platform/qt/TabPanel.h"
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include "platform/qt/FileBrowser.h"
#include "platform/qt/FilePattern.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/WidgetHelpers.h"

namespace velinor::platform::qt {

namespace {

QTreeWidgetItem* EntryAt(QTreeWidget* list, ControlKind kind, int index) {
    return kind == ControlKind::Tree ? TreeItemAt(list, index) : list->topLevelItem(index);
}

int EntryCount(QTreeWidget* list, ControlKind kind) {
    return kind == ControlKind::Tree ? static_cast<int>(TreeItems(list).size()) : list->topLevelItemCount();
}

}  // namespace

void QtPlatform::UserClick(ControlId id) {
    userKeysDown_.clear();
    const Control* control = Find(id);
    if (control == nullptr) return;
    {
        const ProgramChange change(*this);
        if (auto* button = qobject_cast<QAbstractButton*>(control->widget.data())) button->click();
        control->widget->setFocus(Qt::MouseFocusReason);
    }
    PushControlEvent(id, kKindLeftClick);
}

void QtPlatform::UserSet(ControlId id, int value) {
    userKeysDown_.clear();
    const Control* control = Find(id);
    if (control == nullptr) return;
    QWidget* widget = control->widget.data();
    {
        const ProgramChange change(*this);
        switch (control->kind) {
            case ControlKind::Spin:
                static_cast<QSpinBox*>(widget)->setValue(value);
                break;
            case ControlKind::TrackBar:
                static_cast<QSlider*>(widget)->setValue(value);
                break;
            case ControlKind::TabPanel: {
                auto* tabs = static_cast<TabPanelWidget*>(widget);
                if (value >= 0 && value < tabs->Count()) tabs->SetCurrentIndex(value);
                break;
            }
            case ControlKind::Checkbox:
                static_cast<QAbstractButton*>(widget)->setChecked(value != 0);
                break;
            case ControlKind::Option:
                if (value == 0) return;   // a user can only check an option
                static_cast<QAbstractButton*>(widget)->click();
                break;
            case ControlKind::ComboBox: {
                // A user can only pick an entry that is there.
                auto* combo = static_cast<QComboBox*>(widget);
                if (combo->count() == 0) return;
                combo->setCurrentIndex(std::clamp(value, 0, combo->count() - 1));
                break;
            }
            case ControlKind::ReportList:
            case ControlKind::FileList:
            case ControlKind::Tree: {
                auto* list = static_cast<QTreeWidget*>(widget);
                const int count = EntryCount(list, control->kind);
                if (count == 0) return;
                QTreeWidgetItem* item = EntryAt(list, control->kind, std::clamp(value, 0, count - 1));
                list->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
                list->scrollToItem(item);
                break;
            }
            default:
                return;   // nothing to set: no change, no event
        }
        widget->setFocus(Qt::MouseFocusReason);
    }
    PushControlEvent(id, kKindChange);
}

void QtPlatform::UserType(ControlId id, const std::string& text) {
    userKeysDown_.clear();
    const Control* control = Find(id);
    if (control == nullptr || (control->flags & kFlagReadOnly) != 0) return;
    QWidget* widget = control->widget.data();
    {
        const ProgramChange change(*this);
        if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            line->selectAll();
            line->insert(Q(text));
        } else if (auto* edit = qobject_cast<QTextEdit*>(widget)) {
            edit->setPlainText(FromProgramLines(text));
        } else if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
            bool ok = false;
            const int value = Q(text).trimmed().toInt(&ok);
            if (ok) spin->setValue(value);
        } else if (auto* folders = dynamic_cast<FolderComboWidget*>(widget)) {
            folders->SetFolder(SplitFolderText(Q(text)).folder);
        } else {
            return;
        }
        widget->setFocus(Qt::OtherFocusReason);
    }
    PushControlEvent(id, kKindChange);
}

void QtPlatform::UserSelect(ControlId id, const std::vector<int>& indices, bool all) {
    userKeysDown_.clear();
    const Control* control = Find(id);
    if (control == nullptr) return;
    auto* list = qobject_cast<QTreeWidget*>(control->widget.data());
    if (list == nullptr) return;
    const int count = EntryCount(list, control->kind);
    if (count == 0) return;
    {
        const ProgramChange change(*this);
        std::vector<QTreeWidgetItem*> chosen;
        for (int i = 0; i < count; ++i) {
            if (all || std::find(indices.begin(), indices.end(), i) != indices.end()) {
                chosen.push_back(EntryAt(list, control->kind, i));
            }
        }
        // The entry marked first becomes the current one.
        QTreeWidgetItem* current = nullptr;
        if (!all && !indices.empty()) current = EntryAt(list, control->kind, indices.front());
        if (current == nullptr && !chosen.empty()) current = chosen.front();
        if (list->selectionMode() == QAbstractItemView::SingleSelection) {
            chosen.assign(current != nullptr ? 1 : 0, current);
        }
        list->clearSelection();
        list->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
        for (QTreeWidgetItem* item : chosen) item->setSelected(true);
        if (current != nullptr) list->scrollToItem(current);
        list->setFocus(Qt::MouseFocusReason);
    }
    PushControlEvent(id, kKindLeftClick);
}

void QtPlatform::UserKey(const std::vector<Key>& keysDown) {
    userKeysDown_ = std::set<Key>(keysDown.begin(), keysDown.end());
    Event event;
    event.code = kEventKey;
    const Control* focused = Find(FocusedControl());
    event.window = focused != nullptr ? focused->window : 0;
    Push(std::move(event));
}

void QtPlatform::UserPointer(int window, Point client) {
    userKeysDown_.clear();
    const QWidget* widget = WindowWidget(window);
    if (widget == nullptr) return;
    const QPoint screen = widget->mapToGlobal(QPoint(client.x, client.y));
    pointerOverride_ = Point{screen.x(), screen.y()};
    PushPointerMove(window);
}

void QtPlatform::UserToolbar(ToolbarItem item) {
    userKeysDown_.clear();
    int window = 0;
    {
        const ProgramChange change(*this);
        auto it = toolbarButtons_.find(item);
        if (it != toolbarButtons_.end() && !it->second.isNull()) {
            it->second->click();
            const int owner = WindowOf(it->second.data());
            if (owner >= 0) window = owner;
        }
    }
    Event event;
    event.code = kEventToolbar;
    event.window = window;
    event.toolbarItem = item;
    Push(std::move(event));
}

void QtPlatform::UserDrop(const std::vector<std::string>& files) {
    userKeysDown_.clear();
    const QWidget* main = WindowWidget(0);
    if (main == nullptr || !main->acceptDrops()) return;   // the window refuses the files
    Event event;
    event.code = kEventDrop;
    event.droppedFiles = files;
    Push(std::move(event));
}

void QtPlatform::UserClose(int window) {
    userKeysDown_.clear();
    Event event;
    event.code = kEventClose;
    event.window = window;
    Push(std::move(event));
}

}  // namespace velinor::platform::qt
