#include "platform/headless/FolderListing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace velinor::platform {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Wildcard match with backtracking over the last '*' only: linear in practice, no recursion.
bool MatchOne(std::string_view name, std::string_view pattern) {
    std::size_t n = 0, p = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || Lower(pattern[p]) == Lower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool LessNoCase(const FolderEntry& a, const FolderEntry& b) {
    return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                        [](char x, char y) { return Lower(x) < Lower(y); });
}

bool HasWildcard(std::string_view text) { return text.find_first_of("*?") != std::string_view::npos; }

}  // namespace

bool MatchesPattern(std::string_view name, std::string_view patterns) {
    if (patterns.empty()) return true;
    std::size_t start = 0;
    while (start <= patterns.size()) {
        std::size_t end = patterns.find(';', start);
        if (end == std::string_view::npos) end = patterns.size();
        std::string_view one = patterns.substr(start, end - start);
        if (!one.empty() && MatchOne(name, one)) return true;
        start = end + 1;
    }
    return false;
}

std::vector<FolderEntry> ListFolder(const std::string& folder, std::string_view patterns) {
    namespace fs = std::filesystem;
    std::vector<FolderEntry> folders, files;
    std::error_code error;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            folders.push_back({name, true});
        } else if (MatchesPattern(name, patterns)) {
            files.push_back({name, false});
        }
    }
    std::sort(folders.begin(), folders.end(), LessNoCase);
    std::sort(files.begin(), files.end(), LessNoCase);
    folders.insert(folders.end(), files.begin(), files.end());
    return folders;
}

FolderAndPattern SplitFolderAndPattern(const std::string& text) {
    FolderAndPattern result;
    std::size_t slash = text.rfind('/');
    std::string last = slash == std::string::npos ? text : text.substr(slash + 1);
    if (HasWildcard(last)) {
        result.folder = slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
        result.pattern = last;
    } else {
        result.folder = text;
    }
    if (result.folder.empty()) {
        std::error_code error;
        result.folder = std::filesystem::current_path(error).string();
    }
    if (result.folder.empty() || result.folder.back() != '/') result.folder += '/';
    return result;
}

}  // namespace velinor::platform
