#include "app/FileNames.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace velinor::app {

namespace {

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return FoldAscii(x) == FoldAscii(y); });
}

std::string ResolveFileName(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (path.empty() || fs::exists(path, error)) return path;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = path.substr(folder.size());
    std::vector<std::string> matches;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), error), end;
         !error && it != end; it.increment(error)) {
        const std::string entry = it->path().filename().string();
        if (EqualIgnoringAsciiCase(entry, name)) matches.push_back(entry);
    }
    if (matches.empty()) return path;
    // Directory order is arbitrary; the smallest name keeps the choice reproducible.
    return folder + *std::min_element(matches.begin(), matches.end());
}

}  // namespace velinor::app
