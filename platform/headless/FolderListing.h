#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velinor::platform {

// One entry of a listed folder.
struct FolderEntry {
    std::string name;
    bool isFolder = false;
};

// True when name matches one of the ';'-separated wildcard patterns ("*.jpg;*.bmp"; '*' any
// run of characters, '?' one character). Letters match without regard to case, as the file
// lists of the desktop the program was made for do, so "*.jpg" lists "a.JPG" too. An empty
// pattern matches everything.
bool MatchesPattern(std::string_view name, std::string_view patterns);

// The sub-folders (all of them) and then the files matching the pattern, each part sorted by
// name without regard to case. Hidden entries (name starting with '.') are left out. A folder
// that cannot be read gives an empty list.
std::vector<FolderEntry> ListFolder(const std::string& folder, std::string_view patterns);

// Splits the text given to a file list into its folder and an optional pattern: "dir/*.jpg"
// gives ("dir/", "*.jpg"); a last path part without wildcards belongs to the folder. The folder
// always ends with '/'; an empty folder stands for the current directory (made absolute).
struct FolderAndPattern {
    std::string folder;
    std::string pattern;   // empty when the text holds none
};
FolderAndPattern SplitFolderAndPattern(const std::string& text);

}  // namespace velinor::platform
