#pragma once

#include <array>
#include <string>

#include "app/TextKeys.h"

namespace velinor::app {

class KeyValueFile;

inline constexpr int kLastKeyOfWindowBuild = 100;
inline constexpr int kLastKey = 127;
// The texts from this number on (messages about files a run or a load could not use) are filled
// by every load, whatever its last key, so that they can be shown at any time.
inline constexpr int kFirstAlwaysLoadedKey = 102;

// The interface texts by number, 1..kLastKey as loaded from the language file; entries 0 and kLastKey + 1
// are never filled. Every load replaces the whole table.
class TextTable {
public:
    static constexpr int kSize = kLastKey + 2;

    // Entry key; the empty text for a number outside the table.
    const std::string& operator[](TextKey key) const;
    void Set(int n, std::string text);
    void Clear() { entries_ = {}; }

private:
    std::array<std::string, kSize> entries_{};
};


// Group of the language file for a Language setting: "English" gives "english", and every
// other value the German texts, so that an unknown setting still shows a complete interface.
std::string LanguageGroup(const std::string& language);

// Fills entries 1..lastKey and kFirstAlwaysLoadedKey..kLastKey from group of the language file,
// each "error" when its key is missing. False, with the table unchanged, when the file cannot be
// read, lacks the group, or its group lacks the text lastKey (a file cut short).
bool LoadTextGroup(KeyValueFile& prefs, TextTable& table, const std::string& group, int lastKey);

// The same for a Language setting ("German", "English").
bool LoadTextTable(KeyValueFile& prefs, TextTable& table, const std::string& language, int lastKey);

}  // namespace velinor::app
