#pragma once

#include <array>
#include <string>

#include "app/TextKeys.h"

namespace velinor::app {

class KeyValueFile;

// The interface texts by number, 1..kLastKey as loaded from the language file; entry 0 is
// never filled. Every load replaces the whole table.
class TextTable {
public:
    static constexpr int kSize = 126;

    // Entry key; the empty text for a number outside the table.
    const std::string& operator[](TextKey key) const;
    void Set(int n, std::string text);
    void Clear() { entries_ = {}; }

private:
    std::array<std::string, kSize> entries_{};
};

inline constexpr int kLastKey = 124;
// The window build loads the same keys as every other load: its texts include the frame
// panel's, which stand after key 100.
inline constexpr int kLastKeyOfWindowBuild = kLastKey;

// Group of the language file for a Language setting: "English" gives "english", and every
// other value the German texts, so that an unknown setting still shows a complete interface.
std::string LanguageGroup(const std::string& language);

// Fills entries 1..lastKey from group of the language file (files::Current().languageFile), each "error" when its key is
// missing (or the group is). False, with the table unchanged, when the file cannot be read.
bool LoadTextGroup(KeyValueFile& prefs, TextTable& table, const std::string& group, int lastKey);

// The same for a Language setting ("German", "English").
bool LoadTextTable(KeyValueFile& prefs, TextTable& table, const std::string& language, int lastKey);

}  // namespace velinor::app
