#pragma once

#include <functional>

#include <QComboBox>
#include <QStringList>
#include <QTreeWidget>

namespace velinor::platform::qt {

// The entries of one folder: sub-folders, then the files matching the pattern (masks compared
// without regard to case), each group sorted by name. Several entries may be selected. Opening
// a folder entry (double click or Return) shows that folder; the folder combo leads back up.
class FileListWidget : public QTreeWidget {
public:
    explicit FileListWidget(QWidget* parent);

    // Shows folder (empty: the working folder); an empty pattern keeps the current one.
    void SetFolder(const QString& folder, const QString& pattern = {});
    QString Folder() const { return folder_; }           // ends with '/'
    bool IsFolderEntry(int index) const;
    int EntryCount() const { return topLevelItemCount(); }
    QString EntryName(int index) const;

    // Called after the user opened a folder entry and the list shows the new folder.
    std::function<void()> onFolderOpened;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OpenEntry(QTreeWidgetItem* item);

    QString folder_;
    QStringList masks_;
};

// A drop-down of the folders from the file-system root down to the current folder (and the
// current folder's sub-folders), so the user can climb up or step down one level.
class FolderComboWidget : public QComboBox {
public:
    explicit FolderComboWidget(QWidget* parent);

    void SetFolder(const QString& folder);    // empty: the working folder
    QString Folder() const;                    // the chosen entry's folder, ends with '/'
};

}  // namespace velinor::platform::qt
