#pragma once

// A program's options as one table: the parser asks it which options exist and which take a
// value, and --help prints it (the manual pages are made from that output, so a new row shows
// in both).

#include <algorithm>
#include <cstddef>
#include <ostream>
#include <span>
#include <string>

namespace velinor::tools {

struct OptionRow {
    const char* name;    // "--script"
    const char* value;   // "SCRIPT"; "" for an option without a value
    const char* help;    // one line
};

inline const OptionRow* FindOption(std::span<const OptionRow> table, const std::string& name) {
    const auto found = std::find_if(table.begin(), table.end(), [&](const OptionRow& row) { return name == row.name; });
    return found != table.end() ? &*found : nullptr;
}

// "  --script SCRIPT         run a …", the descriptions in one column.
inline void PrintOptions(std::ostream& out, std::span<const OptionRow> table) {
    std::size_t width = 0;
    for (const OptionRow& row : table) width = std::max(width, std::string(row.name).size() + 1 + std::string(row.value).size());
    for (const OptionRow& row : table) {
        std::string head = row.name;
        if (*row.value != '\0') head += std::string(" ") + row.value;
        out << "  " << head << std::string(width - head.size() + 2, ' ') << row.help << "\n";
    }
}

}  // namespace velinor::tools
