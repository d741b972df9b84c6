#include "app/TextureTree.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "files/ProgramFiles.h"
#include "imageio/FileNames.h"
#include "imageio/PictureKinds.h"
#include "imageio/Loader.h"
#include "app/ImageNumbers.h"

namespace velinor::app {

namespace {

bool IsTextureFile(const std::string& name) {
    return imageio::CountsFor(imageio::ExtensionPart(name), imageio::kTexture);
}

// The tile as a tree icon (the platform copies it), or null when it does not decode.
const render::RasterImage* LoadTextureIcon(ProgramState& state, const std::string& path) {
    return imageio::LoadPicture(state.images, pic::PicTextureIcon, path);
}

}  // namespace

std::vector<TextureCategory> ScanTextureFolder(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<TextureCategory> categories;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code kindError;
        if (it->is_directory(kindError)) categories.push_back({it->path().filename().string(), {}});
    }
    std::sort(categories.begin(), categories.end(),
              [](const TextureCategory& a, const TextureCategory& b) { return a.name < b.name; });
    for (TextureCategory& category : categories) {
        std::error_code listError;
        for (fs::directory_iterator it(folder + category.name, listError), end; !listError && it != end;
             it.increment(listError)) {
            std::error_code kindError;
            const std::string name = it->path().filename().string();
            if (!it->is_directory(kindError) && IsTextureFile(name)) category.files.push_back(name);
        }
        std::sort(category.files.begin(), category.files.end());
    }
    return categories;
}

void FillTextureTree(ProgramState& state) {
    using platform::ControlId;
    const std::string& folder = files::Current().textureFolder;
    for (const TextureCategory& category : ScanTextureFolder(folder)) {
        const int parent = state.platform.AddTreeItem(ControlId::TreeTextures, -1, category.name, nullptr);
        for (const std::string& file : category.files) {
            const render::RasterImage* icon = LoadTextureIcon(state, folder + category.name + "/" + file);
            state.platform.AddTreeItem(ControlId::TreeTextures, parent, file, icon);
        }
    }
}

}  // namespace velinor::app
