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
    prefs.SelectGroup(group);
    TextTable fresh;
    for (int n = 1; n <= std::min(lastKey, TextTable::kSize - 2); ++n) {
        fresh.Set(n, prefs.ReadString(std::to_string(n), "error"));
    }
    prefs.ClosePrefs();
    table = std::move(fresh);
    return true;
}

bool LoadTextTable(KeyValueFile& prefs, TextTable& table, const std::string& language, int lastKey) {
    return LoadTextGroup(prefs, table, LanguageGroup(language), lastKey);
}

}  // namespace velinor::app
