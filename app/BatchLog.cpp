#include "app/BatchLog.h"

namespace velinor::app {

namespace {

constexpr const char* kLineEnd = "\r\n";

constexpr int kTextProcessed = 87;
constexpr int kTextSavedAs = 88;
constexpr int kTextNumberedEnding = 89;
constexpr int kTextKeptEnding = 90;
constexpr int kTextNotLoaded = 37;
constexpr int kTextLogoNotLoaded = 38;
constexpr int kTextNotSaved = 40;
constexpr int kTextWouldReplaceSource = 41;
constexpr int kTextSummaryWritten = 42;
constexpr int kTextSummaryRest = 43;

}  // namespace

std::string WrittenLogLine(const TextTable& texts, const std::string& source, const OutputName& name) {
    return source + texts[kTextProcessed] + kLineEnd + texts[kTextSavedAs] + name.shown +
           texts[name.kept ? kTextKeptEnding : kTextNumberedEnding] + kLineEnd;
}

std::string SkippedLogLine(const TextTable& texts, const std::string& source, SkipReason reason) {
    int key = kTextNotLoaded;
    switch (reason) {
        case SkipReason::NotLoaded: key = kTextNotLoaded; break;
        case SkipReason::LogoNotLoaded: key = kTextLogoNotLoaded; break;
        case SkipReason::NotSaved: key = kTextNotSaved; break;
        case SkipReason::WouldReplaceSource: key = kTextWouldReplaceSource; break;
    }
    return source + texts[key] + kLineEnd;
}

std::string SkippedSummary(const TextTable& texts, int written, int listed) {
    return texts[kTextSummaryWritten] + std::to_string(written) + " / " + std::to_string(listed) + kLineEnd +
           texts[kTextSummaryRest];
}

}  // namespace velinor::app
