#include "platform/qt/FilePattern.h"

namespace velinor::platform::qt {

QStringList MasksFromList(const QString& masks) {
    QStringList out;
    for (const QString& part : masks.split(';')) {
        const QString mask = part.trimmed();
        if (!mask.isEmpty()) out << mask;
    }
    return out;
}

QStringList NameFiltersFromPattern(const QString& pattern) {
    QStringList filters;
    const QStringList parts = pattern.split('|');
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString desc = parts[i].trimmed();
        const QString masks = i + 1 < parts.size() ? parts[i + 1] : QString();
        if (desc.isEmpty() && masks.trimmed().isEmpty()) continue;
        QStringList list = MasksFromList(masks);
        if (list.isEmpty()) list << "*";
        // Qt reads the masks from the last parentheses, so a description must not end in one.
        filters << QStringLiteral("%1 (%2)").arg(desc.isEmpty() ? list.join(' ') : desc, list.join(' '));
    }
    return filters;
}

FolderAndPattern SplitFolderText(const QString& text) {
    QString path = text;
    path.replace('\\', '/');
    FolderAndPattern out;
    const qsizetype slash = path.lastIndexOf('/');
    const QString last = path.mid(slash + 1);
    if (last.contains('*') || last.contains('?')) {
        out.pattern = last;
        path = path.left(slash + 1);
    }
    if (!path.isEmpty() && !path.endsWith('/')) path += '/';
    out.folder = path;
    return out;
}

}  // namespace velinor::platform::qt
