#include "app/BatchLog.h"

#include "app/TextKeys.h"

namespace velinor::app {

namespace {

constexpr const char* kLineEnd = "\r\n";

}  // namespace

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
