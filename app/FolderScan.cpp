#include "app/FolderScan.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "imageio/FileNames.h"
#include "imageio/PictureKinds.h"

namespace velinor::app {

namespace {

namespace fs = std::filesystem;

}  // namespace

bool ListedPicture(const std::string& path) {
    return imageio::CountsFor(imageio::ExtensionPart(path), imageio::kFolderStart);
}

void ScanFolder(ProgramState& state, const std::string& folder) {
    const std::string base = !folder.empty() && folder.back() == '/' ? folder : folder + "/";
    std::error_code error;
    fs::directory_iterator listing(base, error);
    if (error) return;
    std::vector<fs::directory_entry> entries;
    for (; listing != fs::directory_iterator(); listing.increment(error)) {
        if (error) break;
        entries.push_back(*listing);
    }
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) {
                  return a.path().filename().string() < b.path().filename().string();
              });
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        std::error_code kindError;
        if (entry.is_symlink(kindError) && entry.is_directory(kindError)) continue;
        if (entry.is_directory(kindError)) {
            ScanFolder(state, base + name);
        } else {
            state.start.ScanFiles.push_back(base + name);
        }
    }
}

}  // namespace velinor::app
