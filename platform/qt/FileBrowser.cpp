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

// A folder text as the program gave it, with '/' separators and a trailing '/'. A folder that
// does not exist or is relative is kept as given (relative ones resolve against the working
// folder), so the program reads back what it set; an empty text means the working folder.
QString GivenFolder(const QString& folder) {
    QString path = folder;
    path.replace('\\', '/');
    if (path.isEmpty()) path = QDir::currentPath();
    if (!path.endsWith('/')) path += '/';
    return path;
}

QString AbsoluteFolder(const QString& given) {
    QString path = QDir::cleanPath(QFileInfo(given).absoluteFilePath());
    if (!path.endsWith('/')) path += '/';
    return path;
}

}  // namespace

FileListWidget::FileListWidget(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(2);
    // No header: its words would be the toolkit's, in neither of the program's languages, and
    // names and sizes read plainly without one.
    setHeaderHidden(true);
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
    folder_ = GivenFolder(folder);

    const QSignalBlocker blocker(this);
    clear();
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    QDir dir(folder_);
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
    const QString target = folder_ + item->text(0);
    if (!QFileInfo(target).isDir()) return;
    SetFolder(target);
    if (onFolderOpened) onFolderOpened();
}

FolderComboWidget::FolderComboWidget(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
}

void FolderComboWidget::SetFolder(const QString& folder) {
    const QString given = GivenFolder(folder);
    const QString absolute = AbsoluteFolder(given);
    const QSignalBlocker blocker(this);
    clear();
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    // Ancestors from the root down, indented one step per level like a folder outline; the
    // folder itself keeps the text it was given.
    const QStringList parts = absolute.split('/', Qt::SkipEmptyParts);
    QString current = "/";
    addItem(folderIcon, "/", parts.isEmpty() ? given : current);
    int depth = 1;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        current += parts[i] + '/';
        addItem(folderIcon, QString(depth * 2, ' ') + parts[i], i + 1 == parts.size() ? given : current);
        ++depth;
    }
    const int chosen = count() - 1;
    for (const QFileInfo& info : QDir(absolute).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        addItem(folderIcon, QString(depth * 2, ' ') + info.fileName(), given + info.fileName() + '/');
    }
    setCurrentIndex(chosen);
}

QString FolderComboWidget::Folder() const {
    return currentData().toString();
}

}  // namespace velinor::platform::qt
