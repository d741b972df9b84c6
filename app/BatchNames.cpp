#include "app/BatchNames.h"

#include "app/TextKeys.h"
#include "imageio/FileNames.h"
#include "imageio/PictureKinds.h"

namespace velinor::app {

namespace {

constexpr const char* kLineEnd = "\r\n";
constexpr const char* kDefaultStem = "img";

}  // namespace

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

std::string WrittenLogLine(const TextTable& texts, const std::string& source, const OutputName& name) {
    return source + texts[kTextProcessed] + kLineEnd + texts[kTextSavedAs] + name.shown +
           texts[name.kept ? kTextKeptEnding : kTextNumberedEnding] + kLineEnd;
}

std::string SkippedLogLine(const TextTable& texts, const std::string& source, SkipReason reason) {
    TextKey key = kTextNotLoaded;
    switch (reason) {
        case SkipReason::NotLoaded: key = kTextNotLoaded; break;
        case SkipReason::LogoNotLoaded: key = kTextLogoNotLoaded; break;
        case SkipReason::NotSaved: key = kTextResultNotSaved; break;
        case SkipReason::WouldReplaceSource: key = kTextWouldReplaceSource; break;
    }
    return source + texts[key] + kLineEnd;
}

std::string SkippedSummary(const TextTable& texts, int written, int listed) {
    return texts[kTextSummaryWritten] + std::to_string(written) + " / " + std::to_string(listed) + kLineEnd +
           texts[kTextSummaryRest];
}

}  // namespace velinor::app
