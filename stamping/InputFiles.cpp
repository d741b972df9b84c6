#include "stamping/InputFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "imageio/FileNames.h"
#include "imageio/PictureKinds.h"

namespace velinor::stamping {

namespace {

namespace fs = std::filesystem;

void Walk(const std::string& folder, const std::string& output, bool recursive, std::vector<ListedPicture>& found) {
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(*it);
    }
    if (error) {
        found.push_back({folder, output, "cannot be read: " + error.message()});
        return;
    }
    for (const fs::directory_entry& entry : entries) {
        const std::string path = entry.path().string();
        const std::string name = entry.path().filename().string();
        std::error_code kindError;
        // Links to folders are not followed, so a walk never loops.
        if (entry.is_directory(kindError) && !entry.is_symlink(kindError)) {
            if (recursive) Walk(path, output + "/" + name, recursive, found);
        } else if (entry.is_regular_file(kindError) &&
                   imageio::CountsFor(imageio::ExtensionPart(name), imageio::kFolderStart)) {
            found.push_back({path, output, ""});
        }
    }
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

// The part of key below baseKey ("" for baseKey itself); false when key is not inside it.
bool Below(const std::string& key, const std::string& baseKey, std::string& rest) {
    if (key == baseKey) {
        rest.clear();
        return true;
    }
    const std::string prefix = baseKey == "/" ? baseKey : baseKey + "/";
    if (key.compare(0, prefix.size(), prefix) != 0) return false;
    rest = key.substr(prefix.size());
    return true;
}

std::string Parent(const std::string& relative) {
    const std::size_t slash = relative.rfind('/');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

}  // namespace

std::string ListKey(const std::string& path) {
    fs::path full(path);
    if (full.is_relative()) {
        std::error_code error;
        const fs::path here = fs::current_path(error);
        if (!error) full = here / full;
    }
    std::string key = WithoutTrailingSlashes(full.lexically_normal().string());
    return key.empty() ? std::string(".") : key;
}

std::vector<std::string> SplitFileList(std::string_view text, bool nulSeparated) {
    const char separator = nulSeparated ? '\0' : '\n';
    std::vector<std::string> names;
    while (!text.empty()) {
        const std::size_t end = text.find(separator);
        std::string_view name = text.substr(0, end);
        if (!nulSeparated && !name.empty() && name.back() == '\r') name.remove_suffix(1);
        if (!name.empty()) names.emplace_back(name);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return names;
}

bool ReadFileList(const std::string& path, bool nulSeparated, std::vector<std::string>& names, std::string& problem) {
    std::FILE* file = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        problem = path + ": the list cannot be read: " + std::strerror(errno);
        return false;
    }
    std::string text;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    if (file != stdin) std::fclose(file);
    if (failed) {
        problem = (path == "-" ? std::string("standard input") : path) + ": the list cannot be read: " + std::strerror(error);
        return false;
    }
    std::vector<std::string> more = SplitFileList(text, nulSeparated);
    names.insert(names.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    return true;
}

PictureList ListPictures(const ListRequest& request) {
    const std::string output = WithoutTrailingSlashes(request.outputFolder);
    const std::string base = request.base.empty() ? std::string() : WithoutTrailingSlashes(request.base);
    const std::string baseKey = base.empty() ? std::string() : ListKey(base);
    std::vector<ListedPicture> found;
    const std::size_t given = request.inputs.size();
    for (std::size_t i = 0; i < given + request.listed.size(); ++i) {
        const std::string& input = i < given ? request.inputs[i] : request.listed[i - given];
        std::string source = WithoutTrailingSlashes(input);
        std::string relative;   // the input's place under base
        if (!base.empty()) {
            if (source[0] != '/') source = (fs::path(base) / source).lexically_normal().string();
            source = WithoutTrailingSlashes(source);
            if (!Below(ListKey(source), baseKey, relative)) {
                found.push_back({source, output, "is not inside --base " + base + ", so it has no place under " + output});
                continue;
            }
        }
        if (i >= given && imageio::CountsFor(imageio::ExtensionPart(source), imageio::kFolderStart)) {
            const std::string folder = Parent(relative);
            found.push_back({source, folder.empty() ? output : output + "/" + folder, ""});
            continue;
        }
        struct stat info {};
        if (::stat(source.c_str(), &info) != 0) {
            found.push_back({source, output, std::strerror(errno)});
        } else if (S_ISDIR(info.st_mode)) {
            Walk(source, relative.empty() ? output : output + "/" + relative, request.recursive, found);
        } else {
            const std::string folder = Parent(relative);
            found.push_back({source, folder.empty() ? output : output + "/" + folder, ""});
        }
    }

    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) keys.emplace_back(ListKey(found[i].source), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    PictureList list;
    list.pictures.reserve(found.size());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (i > 0 && keys[i].first == keys[i - 1].first) {
            ++list.duplicates;
            continue;
        }
        list.pictures.push_back(std::move(found[keys[i].second]));
    }
    return list;
}

std::vector<StampJob> ListJobs(const std::vector<std::string>& inputs, bool recursive,
                               const std::string& outputFolder, std::vector<std::string>& problems) {
    ListRequest request;
    request.inputs = inputs;
    request.recursive = recursive;
    request.outputFolder = outputFolder;
    return JobsAt(ListPictures(request), 0, 1, problems);
}

std::vector<StampJob> JobsAt(const PictureList& list, int first, int step, std::vector<std::string>& problems) {
    std::vector<StampJob> jobs;
    const int count = static_cast<int>(list.pictures.size());
    for (int i = first; i < count; i += step) {
        const ListedPicture& picture = list.pictures[static_cast<std::size_t>(i)];
        if (picture.problem.empty()) {
            jobs.push_back({picture.source, picture.outputFolder, i + 1, count});
        } else {
            problems.push_back(picture.source + ": " + picture.problem);
        }
    }
    return jobs;
}

bool MakeFolders(const std::string& folder, std::string& problem) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder, error)) {
        problem = "cannot make the folder " + folder + (error ? ": " + error.message() : std::string());
        return false;
    }
    return true;
}

}  // namespace velinor::stamping
