#include "app/TextTable.h"

#include <algorithm>

#include "app/KeyValueFile.h"
#include "files/ProgramFiles.h"

namespace velinor::app {

const std::string& TextTable::operator[](TextKey key) const {
    static const std::string kEmpty;
    const int n = key;
    return (n >= 0 && n < kSize) ? entries_[static_cast<std::size_t>(n)] : kEmpty;
}

void TextTable::Set(int n, std::string text) {
    if (n >= 0 && n < kSize) entries_[static_cast<std::size_t>(n)] = std::move(text);
}

std::string LanguageGroup(const std::string& language) {
    return language == "English" ? "english" : "german";
}

bool LoadTextGroup(KeyValueFile& prefs, TextTable& table, const std::string& group, int lastKey) {
    if (!prefs.OpenForRead(files::Current().languageFile)) return false;
    // A file without the group, or cut short before its last text (empty, damaged, truncated),
    // has nothing to show the interface with: as good as missing.
    constexpr const char* kAbsent = "\x01";
    if (!prefs.SelectGroup(group) || prefs.ReadString(std::to_string(lastKey), kAbsent) == kAbsent) {
        prefs.ClosePrefs();
        return false;
    }
    TextTable fresh;
    const auto read = [&](int n) { fresh.Set(n, prefs.ReadString(std::to_string(n), "error")); };
    for (int n = 1; n <= std::min(lastKey, TextTable::kSize - 2); ++n) read(n);
    for (int n = std::max(lastKey + 1, kFirstAlwaysLoadedKey); n <= kLastKey; ++n) read(n);
    prefs.ClosePrefs();
    table = std::move(fresh);
    return true;
}

bool LoadTextTable(KeyValueFile& prefs, TextTable& table, const std::string& language, int lastKey) {
    return LoadTextGroup(prefs, table, LanguageGroup(language), lastKey);
}

}  // namespace velinor::app
