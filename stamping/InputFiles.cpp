#include "stamping/InputFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "imageio/FileNames.h"
#include "imageio/PictureKinds.h"

namespace velinor::stamping {

namespace {

namespace fs = std::filesystem;

void Walk(const std::string& folder, const std::string& output, bool recursive, std::vector<StampJob>& jobs,
          std::vector<std::string>& problems) {
    std::error_code error;
    std::vector<fs::directory_entry> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        entries.push_back(*it);
    }
    if (error) {
        problems.push_back(folder + ": cannot be read: " + error.message());
        return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path() < b.path(); });
    for (const fs::directory_entry& entry : entries) {
        const std::string path = entry.path().string();
        const std::string name = entry.path().filename().string();
        std::error_code kindError;
        // Links to folders are not followed, so a walk never loops.
        if (entry.is_directory(kindError) && !entry.is_symlink(kindError)) {
            if (recursive) Walk(path, output + "/" + name, recursive, jobs, problems);
        } else if (entry.is_regular_file(kindError) &&
                   imageio::CountsFor(imageio::ExtensionPart(name), imageio::kFolderStart)) {
            jobs.push_back({path, output, 0, 0});
        }
    }
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

}  // namespace

std::vector<StampJob> ListJobs(const std::vector<std::string>& inputs, bool recursive,
                               const std::string& outputFolder, std::vector<std::string>& problems) {
    std::vector<StampJob> jobs;
    const std::string output = WithoutTrailingSlashes(outputFolder);
    for (const std::string& input : inputs) {
        struct stat info {};
        if (::stat(input.c_str(), &info) != 0) {
            problems.push_back(input + ": " + std::strerror(errno));
        } else if (S_ISDIR(info.st_mode)) {
            Walk(WithoutTrailingSlashes(input), output, recursive, jobs, problems);
        } else {
            jobs.push_back({input, output, 0, 0});
        }
    }
    const int count = static_cast<int>(jobs.size());
    for (int i = 0; i < count; ++i) {
        jobs[static_cast<std::size_t>(i)].number = i + 1;
        jobs[static_cast<std::size_t>(i)].count = count;
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
