#include "app/BatchOutputNames.h"

#include "imageio/FileNames.h"
#include "imageio/PictureKinds.h"

namespace velinor::app {

namespace {

constexpr const char* kDefaultStem = "img";

}  // namespace

bool PlainPictureName(const std::string& pictureName) {
    return pictureName.find_first_of("/\\") == std::string::npos && pictureName.find("..") == std::string::npos;
}

OutputName BatchOutputName(const std::string& outputDir, const std::string& pictureName, bool keepNames,
                           int number, const std::string& source) {
    OutputName name;
    if (keepNames) {
        name.path = outputDir + imageio::FilePart(source);
        name.shown = name.path;
        name.kept = true;
        return name;
    }
    name.shown = outputDir + (pictureName.empty() ? std::string(kDefaultStem) : pictureName) + std::to_string(number);
    name.path = name.shown + imageio::KindInfo(imageio::PictureKind::Jpeg).suffix;
    return name;
}

}  // namespace velinor::app
