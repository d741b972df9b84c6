#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QTreeWidget>

namespace velinor::platform::qt {

inline QString Q(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string S(const QString& text) { return text.toStdString(); }

// Button-like widgets read '&' as a shortcut marker; the program's texts mean a plain '&'.
inline QString Literal(const std::string& text) { return Q(text).replace('&', "&&"); }
inline QString Unliteral(const QString& text) { return QString(text).replace("&&", "&"); }

// Every entry of a tree, parents before their children, in display order: the numbering the
// program uses for tree entries.
inline std::vector<QTreeWidgetItem*> TreeItems(const QTreeWidget* tree) {
    std::vector<QTreeWidgetItem*> items;
    std::vector<QTreeWidgetItem*> stack;
    for (int i = tree->topLevelItemCount() - 1; i >= 0; --i) stack.push_back(tree->topLevelItem(i));
    while (!stack.empty()) {
        QTreeWidgetItem* item = stack.back();
        stack.pop_back();
        items.push_back(item);
        for (int i = item->childCount() - 1; i >= 0; --i) stack.push_back(item->child(i));
    }
    return items;
}

inline int TreeIndexOf(const QTreeWidget* tree, const QTreeWidgetItem* target) {
    if (target == nullptr) return -1;
    const auto items = TreeItems(tree);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] == target) return static_cast<int>(i);
    }
    return -1;
}

inline QTreeWidgetItem* TreeItemAt(const QTreeWidget* tree, int index) {
    if (index < 0) return nullptr;
    const auto items = TreeItems(tree);
    return static_cast<std::size_t>(index) < items.size() ? items[index] : nullptr;
}

// Multi-line fields keep Windows line breaks in the program's strings.
inline QString FromProgramLines(const std::string& text) {
    QString out = Q(text);
    out.replace("\r\n", "\n");
    out.replace('\r', '\n');
    return out;
}

inline std::string ToProgramLines(const QString& text) {
    QString out = text;
    out.replace('\n', "\r\n");
    return S(out);
}

}  // namespace velinor::platform::qt
