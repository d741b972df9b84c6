// Requesters and message boxes as Qt dialogs, owned by the main window.
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/qt/FilePattern.h"
#include "platform/qt/FontRequester.h"
#include "platform/qt/ImageConvert.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/RequesterFolders.h"
#include "platform/qt/WidgetHelpers.h"

namespace velinor::platform::qt {

namespace {

// Sets up a file dialog from the program's request: the default file may be a folder, a file
// name, a path with a file name, or a mask such as "*.*" (then only the folder counts). When it
// names no folder, the dialog starts in the request's folder hint, else where this kind of
// requester was left last, else in the user's pictures folder: never in the working folder,
// which is the program's own.
void Prepare(QFileDialog& dialog, const FileRequest& request, RequesterKind kind) {
    dialog.setWindowTitle(Q(request.title));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);   // the program asks itself
    const QStringList filters = NameFiltersFromPattern(Q(request.pattern));
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = request.patternIndex >= 0 && request.patternIndex < filters.size() ? request.patternIndex : 0;
        dialog.selectNameFilter(filters[index]);
    }
    QString preset = Q(request.defaultFile);
    preset.replace('\\', '/');
    const QFileInfo info(preset);
    if (!preset.isEmpty() && info.isDir()) {
        dialog.setDirectory(preset);
        return;
    }
    if (!preset.isEmpty() && !info.path().isEmpty() && QFileInfo(info.path()).isDir() && preset.contains('/')) {
        dialog.setDirectory(info.path());
    } else if (const QString hint = Q(request.folderHint); !hint.isEmpty() && QFileInfo(hint).isDir()) {
        dialog.setDirectory(hint);
    } else {
        dialog.setDirectory(RequesterStartFolder(kind));
    }
    if (preset.isEmpty()) return;
    const QString name = info.fileName();
    if (!name.isEmpty() && !name.contains('*') && !name.contains('?')) dialog.selectFile(name);
}

int SelectedFilterIndex(const QFileDialog& dialog) {
    const int index = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
    return index >= 0 ? index : 0;
}

// Shows a prepared file dialog; the file chosen (empty when none was), its folder remembered
// for the next requester of this kind.
QString ChosenFile(QFileDialog& dialog, RequesterKind kind) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    RememberRequesterFolder(kind, dialog.selectedFiles().front());
    return dialog.selectedFiles().front();
}

}  // namespace

std::string QtPlatform::OpenFileRequester(const FileRequest& request) {
    QFileDialog dialog(Owner());
    Prepare(dialog, request, RequesterKind::Open);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return S(ChosenFile(dialog, RequesterKind::Open));
}

SaveAnswer QtPlatform::SaveFileRequester(const FileRequest& request) {
    QFileDialog dialog(Owner());
    Prepare(dialog, request, RequesterKind::Save);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString chosen = ChosenFile(dialog, RequesterKind::Save);
    if (chosen.isEmpty()) return {};
    return {S(chosen), SelectedFilterIndex(dialog)};
}

std::string QtPlatform::FolderRequester(const std::string& title, const std::string& initial) {
    QString start = Q(initial);
    start.replace('\\', '/');
    if (!QFileInfo(start).isDir()) start = RequesterStartFolder(RequesterKind::Folder);
    QString folder = QFileDialog::getExistingDirectory(Owner(), Q(title), start);
    if (folder.isEmpty()) return {};
    RememberRequesterFolder(RequesterKind::Folder, folder);
    if (!folder.endsWith('/')) folder += '/';
    return S(folder);
}

int QtPlatform::ColourRequester(render::Color initial) {
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), Owner());
    return chosen.isValid() ? static_cast<int>(FromQColor(chosen)) : -1;
}

std::optional<FontAnswer> QtPlatform::FontRequester(const FontRequest& request) {
    return RunFontRequester(Owner(), request);
}

MessageAnswer QtPlatform::MessageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                                     MessageButtons buttons) {
    QMessageBox box(Owner());
    box.setWindowTitle(Q(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(FromProgramLines(text));
    switch (icon) {
        case MessageIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MessageIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MessageIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MessageIcon::Error: box.setIcon(QMessageBox::Critical); break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

}  // namespace velinor::platform::qt
