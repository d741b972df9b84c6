#include "platform/qt/RequesterFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace velinor::platform::qt {

namespace {

const char* KeyOf(RequesterKind kind) {
    switch (kind) {
        case RequesterKind::Open: return "open";
        case RequesterKind::Save: return "save";
        case RequesterKind::Folder: return "folder";
    }
    return "open";
}

// $XDG_CONFIG_HOME/Velinor/requesters.ini (~/.config when unset), looked up on every use:
// QSettings' own user scope fixes the folder at its first use in a process.
QSettings RememberedFolders() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QSettings(config + "/Velinor/requesters.ini", QSettings::IniFormat);
}

bool IsFolder(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

}  // namespace

QString PicturesFolder() {
    // Qt reads the XDG user-dirs file; with no PICTURES entry it names ~/Pictures, which may
    // not be there.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return IsFolder(pictures) ? pictures : QDir::homePath();
}

QString RequesterStartFolder(RequesterKind kind) {
    const QString remembered = RememberedFolders().value(KeyOf(kind)).toString();
    if (IsFolder(remembered)) return remembered;
    return PicturesFolder();
}

void RememberRequesterFolder(RequesterKind kind, const QString& fileOrFolder) {
    const QFileInfo info(fileOrFolder);
    const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    if (!IsFolder(folder)) return;
    QSettings settings = RememberedFolders();
    settings.setValue(KeyOf(kind), folder);
}

}  // namespace velinor::platform::qt
