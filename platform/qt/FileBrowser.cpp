#include "platform/qt/FileBrowser.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QSignalBlocker>
#include <QStyle>

#include "platform/qt/FilePattern.h"

namespace velinor::platform::qt {

namespace {

constexpr int kFolderRole = Qt::UserRole + 1;

// An absolute folder path ending in '/'. A folder that does not exist is kept as given (the
// list is then empty), so the program reads back what it set; an empty text means home.
QString NormalisedFolder(const QString& folder) {
    QString path = folder;
    path.replace('\\', '/');
    if (path.isEmpty()) path = QDir::homePath();
    path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!path.endsWith('/')) path += '/';
    return path;
}

}  // namespace

FileListWidget::FileListWidget(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    setHeaderLabels({QApplication::translate("FileList", "Name"), QApplication::translate("FileList", "Size")});
    header()->resizeSection(0, 190);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAllColumnsShowFocus(true);
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { OpenEntry(item); });
}

void FileListWidget::SetFolder(const QString& folder, const QString& pattern) {
    if (!pattern.isEmpty()) masks_ = MasksFromList(pattern);
    folder_ = NormalisedFolder(folder);

    const QSignalBlocker blocker(this);
    clear();
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    QDir dir(folder_);
    if (!dir.isRoot()) {
        auto* up = new QTreeWidgetItem(this, {".."});
        up->setIcon(0, folderIcon);
        up->setData(0, kFolderRole, true);
    }
    const auto sort = QDir::Name | QDir::IgnoreCase;
    for (const QFileInfo& info : dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, sort)) {
        auto* item = new QTreeWidgetItem(this, {info.fileName()});
        item->setIcon(0, folderIcon);
        item->setData(0, kFolderRole, true);
    }
    const QStringList filters = masks_.isEmpty() ? QStringList{"*"} : masks_;
    const QLocale locale;
    for (const QFileInfo& info : dir.entryInfoList(filters, QDir::Files, sort)) {
        auto* item = new QTreeWidgetItem(this, {info.fileName(), locale.formattedDataSize(info.size())});
        item->setIcon(0, fileIcon);
        item->setData(0, kFolderRole, false);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
}

bool FileListWidget::IsFolderEntry(int index) const {
    const QTreeWidgetItem* item = topLevelItem(index);
    return item != nullptr && item->data(0, kFolderRole).toBool();
}

QString FileListWidget::EntryName(int index) const {
    const QTreeWidgetItem* item = topLevelItem(index);
    return item != nullptr ? item->text(0) : QString();
}

void FileListWidget::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem() != nullptr) {
        OpenEntry(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FileListWidget::OpenEntry(QTreeWidgetItem* item) {
    if (item == nullptr || !item->data(0, kFolderRole).toBool()) return;
    const QString name = item->text(0);
    QString target = folder_;
    if (name == "..") {
        target = QFileInfo(QDir::cleanPath(folder_)).absolutePath();
    } else {
        target += name;
    }
    if (!QFileInfo(target).isDir()) return;
    SetFolder(target);
    if (onFolderOpened) onFolderOpened();
}

FolderComboWidget::FolderComboWidget(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
}

void FolderComboWidget::SetFolder(const QString& folder) {
    const QString path = NormalisedFolder(folder);
    const QSignalBlocker blocker(this);
    clear();
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    // Ancestors from the root down, indented one step per level like a folder outline.
    QStringList parts = path.split('/', Qt::SkipEmptyParts);
    QString current = "/";
    addItem(folderIcon, "/", current);
    int depth = 1;
    for (const QString& part : parts) {
        current += part + '/';
        addItem(folderIcon, QString(depth * 2, ' ') + part, current);
        ++depth;
    }
    const int chosen = count() - 1;
    for (const QFileInfo& info : QDir(path).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        addItem(folderIcon, QString(depth * 2, ' ') + info.fileName(), path + info.fileName() + '/');
    }
    setCurrentIndex(chosen);
}

QString FolderComboWidget::Folder() const {
    return currentData().toString();
}

}  // namespace velinor::platform::qt
