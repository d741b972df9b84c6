// Items of lists, combos and trees; tab pages; the toolbar and the status bar.
#include <QComboBox>
#include <QSignalBlocker>
#include "platform/qt/TabPanel.h"
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include "platform/qt/FileBrowser.h"
#include "platform/qt/HostWindow.h"
#include "platform/qt/ImageConvert.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/WidgetHelpers.h"

namespace velinor::platform::qt {

namespace {

constexpr int kToolbarHeight = 25;
constexpr int kStatusBarHeight = 20;

QTreeWidget* AsTree(QWidget* widget) { return qobject_cast<QTreeWidget*>(widget); }

}  // namespace

int QtPlatform::AddItem(ControlId id, const std::string& text, int position) {
    const Control* control = Find(id);
    if (control == nullptr) return -1;
    QWidget* widget = control->widget.data();
    const ProgramChange change(*this);
    switch (control->kind) {
        case ControlKind::ComboBox:
        case ControlKind::FolderCombo: {
            auto* combo = static_cast<QComboBox*>(widget);
            const int at = position >= 0 && position <= combo->count() ? position : combo->count();
            combo->insertItem(at, Q(text));
            return at;
        }
        case ControlKind::ReportList:
        case ControlKind::Tree:
        case ControlKind::FileList: {
            auto* list = AsTree(widget);
            const int count = list->topLevelItemCount();
            const int at = position >= 0 && position <= count ? position : count;
            list->insertTopLevelItem(at, new QTreeWidgetItem(QStringList{Q(text)}));
            return control->kind == ControlKind::Tree ? TreeIndexOf(list, list->topLevelItem(at)) : at;
        }
        default:
            return -1;
    }
}

void QtPlatform::RemoveItem(ControlId id, int index) {
    const Control* control = Find(id);
    if (control == nullptr || index < 0) return;
    QWidget* widget = control->widget.data();
    const ProgramChange change(*this);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (index < combo->count()) combo->removeItem(index);
    } else if (auto* list = AsTree(widget)) {
        QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, index) : list->topLevelItem(index);
        delete item;
    }
}

void QtPlatform::ClearItems(ControlId id) {
    const Control* control = Find(id);
    if (control == nullptr) return;
    QWidget* widget = control->widget.data();
    const ProgramChange change(*this);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) combo->clear();
    else if (auto* list = AsTree(widget)) list->clear();
}

int QtPlatform::ItemCount(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr) return 0;
    QWidget* widget = control->widget.data();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->count();
    if (control->kind == ControlKind::Tree) return static_cast<int>(TreeItems(AsTree(widget)).size());
    if (auto* list = AsTree(widget)) return list->topLevelItemCount();
    if (auto* tabs = dynamic_cast<TabPanelWidget*>(widget)) return tabs->Count();
    return 0;
}

std::string QtPlatform::ItemText(ControlId id, int index) const {
    const Control* control = Find(id);
    if (control == nullptr || index < 0) return {};
    QWidget* widget = control->widget.data();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) return S(combo->itemText(index));
    if (auto* list = AsTree(widget)) {
        const QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, index) : list->topLevelItem(index);
        return item != nullptr ? S(item->text(0)) : std::string();
    }
    if (auto* tabs = dynamic_cast<TabPanelWidget*>(widget)) return S(Unliteral(tabs->TabText(index)));
    return {};
}

void QtPlatform::SetItemText(ControlId id, int index, const std::string& text) {
    const Control* control = Find(id);
    if (control == nullptr || index < 0) return;
    QWidget* widget = control->widget.data();
    const ProgramChange change(*this);
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (index < combo->count()) combo->setItemText(index, Q(text));
    } else if (auto* list = AsTree(widget)) {
        QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, index) : list->topLevelItem(index);
        if (item != nullptr) item->setText(0, Q(text));
    }
}

// The kept text lives in the entry's user role, so it moves and goes with the entry.
void QtPlatform::SetItemData(ControlId id, int index, const std::string& data) {
    const Control* control = Find(id);
    if (control == nullptr || index < 0) return;
    QWidget* widget = control->widget.data();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (index < combo->count()) combo->setItemData(index, Q(data), Qt::UserRole);
    } else if (auto* list = AsTree(widget)) {
        QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, index) : list->topLevelItem(index);
        if (item != nullptr) item->setData(0, Qt::UserRole, Q(data));
    }
}

std::string QtPlatform::ItemData(ControlId id, int index) const {
    const Control* control = Find(id);
    if (control == nullptr || index < 0) return {};
    QWidget* widget = control->widget.data();
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return index < combo->count() ? S(combo->itemData(index, Qt::UserRole).toString()) : std::string();
    }
    if (auto* list = AsTree(widget)) {
        const QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, index) : list->topLevelItem(index);
        return item != nullptr ? S(item->data(0, Qt::UserRole).toString()) : std::string();
    }
    return {};
}

int QtPlatform::ItemState(ControlId id, int index) const {
    const Control* control = Find(id);
    if (control == nullptr || index < 0) return 0;
    auto* list = AsTree(control->widget.data());
    if (list == nullptr) return 0;
    const QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, index) : list->topLevelItem(index);
    if (item == nullptr) return 0;
    int state = item->isSelected() ? kItemSelected : 0;
    if (control->kind == ControlKind::FileList) {
        state |= static_cast<FileListWidget*>(list)->IsFolderEntry(index) ? kItemFolder : kItemFile;
    }
    return state;
}

void QtPlatform::SetItemState(ControlId id, int index, int state) {
    const Control* control = Find(id);
    if (control == nullptr || index < 0) return;
    auto* list = AsTree(control->widget.data());
    if (list == nullptr) return;
    const ProgramChange change(*this);
    QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, index) : list->topLevelItem(index);
    if (item == nullptr) return;
    const bool selected = (state & kItemSelected) != 0;
    if (selected && list->selectionMode() == QAbstractItemView::SingleSelection) list->clearSelection();
    item->setSelected(selected);
    if (selected && list->selectionMode() == QAbstractItemView::SingleSelection) list->setCurrentItem(item);
}

void QtPlatform::SelectAllItems(ControlId id) {
    const Control* control = Find(id);
    if (control == nullptr) return;
    auto* list = AsTree(control->widget.data());
    if (list == nullptr) return;
    const ProgramChange change(*this);
    if (list->selectionMode() == QAbstractItemView::SingleSelection) return;
    list->selectAll();
}

void QtPlatform::EnsureItemVisible(ControlId id, int index) {
    const Control* control = Find(id);
    if (control == nullptr) return;
    auto* list = AsTree(control->widget.data());
    if (list == nullptr) return;
    QTreeWidgetItem* item = control->kind == ControlKind::Tree ? TreeItemAt(list, index) : list->topLevelItem(index);
    if (item != nullptr) list->scrollToItem(item);
}

int QtPlatform::AddTreeItem(ControlId id, int parent, const std::string& text, const render::RasterImage* icon) {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::Tree) return -1;
    auto* tree = AsTree(control->widget.data());
    const ProgramChange change(*this);
    QTreeWidgetItem* parentItem = parent >= 0 ? TreeItemAt(tree, parent) : nullptr;
    if (parent >= 0 && parentItem == nullptr) return -1;
    auto* item = parentItem != nullptr ? new QTreeWidgetItem(parentItem, QStringList{Q(text)})
                                       : new QTreeWidgetItem(tree, QStringList{Q(text)});
    if (icon != nullptr) {
        const QImage picture = ToQImage(*icon);
        if (!picture.isNull()) {
            item->setIcon(0, QIcon(QPixmap::fromImage(picture.scaled(16, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))));
        }
    }
    return TreeIndexOf(tree, item);
}

int QtPlatform::TreeItemParent(ControlId id, int index) const {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::Tree) return -1;
    auto* tree = AsTree(control->widget.data());
    const QTreeWidgetItem* item = TreeItemAt(tree, index);
    return item != nullptr ? TreeIndexOf(tree, item->parent()) : -1;
}

// ---------------------------------------------------------------------------------------------
// Tab pages

void QtPlatform::AddTab(ControlId id, const std::string& text) {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::TabPanel) return;
    auto* tabs = static_cast<TabPanelWidget*>(control->widget.data());
    const ProgramChange change(*this);
    const int index = tabs->AddTab(Literal(text));
    TrackPointer(tabs->Page(index));
}

void QtPlatform::RemoveTab(ControlId id, int index) {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::TabPanel) return;
    auto* tabs = static_cast<TabPanelWidget*>(control->widget.data());
    if (index < 0 || index >= tabs->Count()) return;
    const ProgramChange change(*this);
    tabs->RemoveTab(index);   // the page's controls go with it
    for (auto it = controls_.begin(); it != controls_.end();) {
        it = it->second.widget.isNull() ? controls_.erase(it) : std::next(it);
    }
}

void QtPlatform::SetTabText(ControlId id, int index, const std::string& text) {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::TabPanel) return;
    auto* tabs = static_cast<TabPanelWidget*>(control->widget.data());
    if (index >= 0 && index < tabs->Count()) tabs->SetTabText(index, Literal(text));
}

void QtPlatform::SetColumnText(ControlId id, const std::string& text) {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::ReportList) return;
    static_cast<QTreeWidget*>(control->widget.data())->setHeaderLabels({Q(text)});
}

std::string QtPlatform::ColumnText(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::ReportList) return {};
    const QTreeWidgetItem* header = static_cast<QTreeWidget*>(control->widget.data())->headerItem();
    return header != nullptr ? S(header->text(0)) : std::string();
}

int QtPlatform::TabCount(ControlId id) const {
    const Control* control = Find(id);
    if (control == nullptr || control->kind != ControlKind::TabPanel) return 0;
    return static_cast<TabPanelWidget*>(control->widget.data())->Count();
}

// ---------------------------------------------------------------------------------------------
// Toolbar and status bar

void QtPlatform::CreateToolbar(int window, const std::vector<std::pair<ToolbarItem, const render::RasterImage*>>& buttons) {
    Window* host = FindWindow(window);
    if (host == nullptr) return;
    delete host->toolbar.data();
    auto* toolbar = new QToolBar(host->widget.get());
    toolbar->setMovable(false);
    toolbar->setFloatable(false);
    toolbar->setIconSize(QSize(16, 16));
    toolbar->setGeometry(0, 0, host->widget->width(), kToolbarHeight);
    for (const auto& [item, image] : buttons) {
        auto* button = new QToolButton(toolbar);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFixedSize(24, 22);
        if (image != nullptr) {
            const QImage picture = ToQImage(*image);
            if (!picture.isNull()) button->setIcon(QIcon(QPixmap::fromImage(picture)));
        }
        toolbar->addWidget(button);
        toolbarButtons_[item] = button;
        toolbarPressed_[item] = false;
        const ToolbarItem which = item;
        connect(button, &QToolButton::clicked, this, [this, which, window] {
            // Only the program decides whether a button shows pressed.
            if (QToolButton* b = toolbarButtons_[which]) {
                const QSignalBlocker blocker(b);
                b->setChecked(toolbarPressed_[which]);
            }
            if (!TakesWindowSystemInput()) return;
            Event event;
            event.code = kEventToolbar;
            event.window = window;
            event.toolbarItem = which;
            Push(std::move(event));
        });
    }
    TrackPointer(toolbar);
    toolbar->show();
    host->toolbar = toolbar;
}

void QtPlatform::SetToolbarPressed(ToolbarItem item, bool pressed) {
    toolbarPressed_[item] = pressed;
    auto it = toolbarButtons_.find(item);
    if (it == toolbarButtons_.end() || it->second.isNull()) return;
    const QSignalBlocker blocker(it->second.data());
    it->second->setChecked(pressed);
}

bool QtPlatform::ToolbarPressed(ToolbarItem item) const {
    auto it = toolbarPressed_.find(item);
    return it != toolbarPressed_.end() && it->second;
}

void QtPlatform::CreateStatusBar(int window, const std::vector<int>& fieldWidths) {
    Window* host = FindWindow(window);
    if (host == nullptr) return;
    delete host->statusBar.data();
    auto* bar = new StatusBarWidget(host->widget.get(), fieldWidths);
    if (controlFont_) bar->setFont(*controlFont_);
    const int width = host->widget->width();
    const int height = host->widget->height();
    bar->setGeometry(0, height - kStatusBarHeight, width, kStatusBarHeight);
    TrackPointer(bar);
    bar->show();
    host->statusBar = bar;
}

void QtPlatform::SetStatusText(int field, const std::string& text) {
    if (Window* host = FindWindow(0); host != nullptr && host->statusBar) host->statusBar->SetText(field, Q(text));
}

std::string QtPlatform::StatusText(int field) const {
    const Window* host = FindWindow(0);
    return host != nullptr && host->statusBar ? S(host->statusBar->Text(field)) : std::string();
}

void QtPlatform::SetStatusImage(int field, const render::RasterImage* image) {
    Window* host = FindWindow(0);
    if (host == nullptr || !host->statusBar) return;
    const QImage picture = image != nullptr ? ToQImage(*image) : QImage();
    host->statusBar->SetPicture(field, picture.isNull() ? QPixmap() : QPixmap::fromImage(picture));
}

}  // namespace velinor::platform::qt
