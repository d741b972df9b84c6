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

// The options both programs that show the window take, the same on either.
inline constexpr OptionRow kProgramDirOption{"--program-dir", "DIR",
                                             "the folder to treat as the program's own (where its files are looked for)"};
inline constexpr OptionRow kOsVersionOption{"--os-version", "X.Y", "the operating-system version the program is told"};
inline constexpr OptionRow kHelpOption{"--help", "", "print this help and exit"};

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
