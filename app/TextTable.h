#pragma once

#include <array>
#include <string>

#include "app/TextKeys.h"

namespace velinor::app {

class KeyValueFile;

// The interface texts by number, 1..101 as loaded from the language file; entries 0 and 102
// are never filled. Every load replaces the whole table.
class TextTable {
public:
    static constexpr int kSize = 103;

    // Entry key; the empty text for a number outside the table.
    const std::string& operator[](TextKey key) const;
    void Set(int n, std::string text);
    void Clear() { entries_ = {}; }

private:
    std::array<std::string, kSize> entries_{};
};

inline constexpr int kLastKeyOfWindowBuild = 100;
inline constexpr int kLastKey = 101;

// Group of the language file for a Language setting: "English" gives "english", and every
// other value the German texts, so that an unknown setting still shows a complete interface.
std::string LanguageGroup(const std::string& language);

// Fills entries 1..lastKey from group of the language file (files::Current().languageFile), each "error" when its key is
// missing (or the group is). False, with the table unchanged, when the file cannot be read.
bool LoadTextGroup(KeyValueFile& prefs, TextTable& table, const std::string& group, int lastKey);

// The same for a Language setting ("German", "English").
bool LoadTextTable(KeyValueFile& prefs, TextTable& table, const std::string& language, int lastKey);

}  // namespace velinor::app
