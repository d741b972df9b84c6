#pragma once

#include <QString>
#include <QStringList>

namespace velinor::platform::qt {

// A requester pattern "Desc|*.a;*.b|Desc2|*.c" as Qt name filters: "Desc (*.a *.b)", ...
// A trailing description without masks still gets an entry (matching everything).
QStringList NameFiltersFromPattern(const QString& pattern);

// "*.jpg;*.Jpeg" -> {"*.jpg", "*.Jpeg"}; empty or blank masks are dropped.
QStringList MasksFromList(const QString& masks);

// Splits a file-list text into its folder and an optional trailing pattern: "/a/b/*.jpg;*.png"
// gives ("/a/b/", "*.jpg;*.png"), "/a/b" gives ("/a/b/", ""). Backslashes count as slashes.
struct FolderAndPattern {
    QString folder;
    QString pattern;
};
FolderAndPattern SplitFolderText(const QString& text);

}  // namespace velinor::platform::qt
