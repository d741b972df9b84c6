// User actions performed on the real widgets: the widgets' own signals raise the events. Where
// an action leaves the widget as it was (a track bar set to its current value), Qt stays
// silent, but a user's action still reaches the program, so the event is raised here.
#include <QAbstractButton>
#include <QComboBox>
#include <QCursor>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

#include "platform/qt/QtPlatform.h"
#include "platform/qt/WidgetHelpers.h"

namespace velinor::platform::qt {

void QtPlatform::UserClick(ControlId id) {
    const Control* control = Find(id);
    if (control == nullptr || !control->widget->isEnabled()) return;
    const std::size_t before = queue_.size();
    if (auto* button = qobject_cast<QAbstractButton*>(control->widget.data())) {
        button->click();
    }
    if (queue_.size() == before) PushControlEvent(id, kKindLeftClick);
}

void QtPlatform::UserSet(ControlId id, int value) {
    const Control* control = Find(id);
    if (control == nullptr || !control->widget->isEnabled()) return;
    QWidget* widget = control->widget.data();
    const std::size_t before = queue_.size();
    int kind = kKindChange;
    switch (control->kind) {
        case ControlKind::Spin:
            static_cast<QSpinBox*>(widget)->setValue(value);
            break;
        case ControlKind::TrackBar:
            static_cast<QSlider*>(widget)->setValue(value);
            break;
        case ControlKind::ComboBox:
        case ControlKind::FolderCombo:
            static_cast<QComboBox*>(widget)->setCurrentIndex(value);
            break;
        case ControlKind::TabPanel:
            static_cast<QTabWidget*>(widget)->setCurrentIndex(value);
            break;
        case ControlKind::ReportList:
        case ControlKind::FileList:
        case ControlKind::Tree: {
            auto* list = static_cast<QTreeWidget*>(widget);
            kind = ListChangeKind(control->kind);
            QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, value) : list->topLevelItem(value);
            if (item != nullptr) {
                list->setCurrentItem(item, 0, QItemSelectionModel::ClearAndSelect);
            } else {
                list->clearSelection();
                list->setCurrentItem(nullptr);
            }
            break;
        }
        default:
            break;
    }
    if (queue_.size() == before) PushControlEvent(id, kind);
}

void QtPlatform::UserType(ControlId id, const std::string& text) {
    const Control* control = Find(id);
    if (control == nullptr || !control->widget->isEnabled()) return;
    const std::size_t before = queue_.size();
    if (auto* line = qobject_cast<QLineEdit*>(control->widget.data())) {
        line->setText(Q(text));
    } else if (auto* edit = qobject_cast<QTextEdit*>(control->widget.data())) {
        edit->setPlainText(FromProgramLines(text));
    } else if (auto* spin = qobject_cast<QSpinBox*>(control->widget.data())) {
        bool ok = false;
        const int value = Q(text).trimmed().toInt(&ok);
        if (ok) spin->setValue(value);
    }
    // A typed text is one change for the program, however many signals the widget gave.
    while (queue_.size() > before + 1) queue_.pop_back();
    if (queue_.size() == before) PushControlEvent(id, kKindChange);
}

void QtPlatform::UserSelect(ControlId id, const std::vector<int>& indices, bool all) {
    const Control* control = Find(id);
    if (control == nullptr || !control->widget->isEnabled()) return;
    auto* list = qobject_cast<QTreeWidget*>(control->widget.data());
    if (list == nullptr) return;
    const std::size_t before = queue_.size();
    {
        // The selection is the user's marking; the one event below reports it.
        const ProgramChange change(*this);
        list->clearSelection();
        const bool single = list->selectionMode() == QAbstractItemView::SingleSelection;
        std::vector<QTreeWidgetItem*> chosen;
        if (all) {
            for (QTreeWidgetItem* item : TreeItems(list)) chosen.push_back(item);
        } else {
            for (int index : indices) {
                QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, index) : list->topLevelItem(index);
                if (item != nullptr) chosen.push_back(item);
            }
        }
        if (single && chosen.size() > 1) chosen.resize(1);
        if (!chosen.empty()) list->setCurrentItem(chosen.front(), 0, QItemSelectionModel::NoUpdate);
        for (QTreeWidgetItem* item : chosen) item->setSelected(true);
    }
    list->viewport()->update();
    if (queue_.size() == before) PushControlEvent(id, ListChangeKind(control->kind));
}

void QtPlatform::UserKey(const std::vector<Key>& keysDown) {
    userKeysDown_ = std::set<Key>(keysDown.begin(), keysDown.end());
    Event event;
    event.code = kEventKey;
    Push(std::move(event));
}

void QtPlatform::UserPointer(int window, Point client) {
    const QWidget* widget = WindowWidget(window);
    if (widget == nullptr) return;
    const QPoint screen = widget->mapToGlobal(QPoint(client.x, client.y));
    pointerOverride_ = Point{screen.x(), screen.y()};
    PushPointerMove(window);
}

void QtPlatform::UserToolbar(ToolbarItem item) {
    const std::size_t before = queue_.size();
    auto it = toolbarButtons_.find(item);
    if (it != toolbarButtons_.end() && !it->second.isNull()) it->second->click();
    if (queue_.size() == before) {
        Event event;
        event.code = kEventToolbar;
        event.toolbarItem = item;
        Push(std::move(event));
    }
}

void QtPlatform::UserDrop(const std::vector<std::string>& files) {
    Event event;
    event.code = kEventDrop;
    event.droppedFiles = files;
    Push(std::move(event));
}

void QtPlatform::UserClose(int window) {
    Event event;
    event.code = kEventClose;
    event.window = window;
    Push(std::move(event));
}

}  // namespace velinor::platform::qt
