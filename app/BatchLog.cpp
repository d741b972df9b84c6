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
        case SkipReason::WouldReplaceLogo: key = kTextWouldReplaceLogo; break;
        case SkipReason::OutputIsLink: key = kTextOutputIsLink; break;
    }
    return source + texts[key] + kLineEnd;
}

std::string ReplacedOutputLine(const TextTable& texts, int earlier) {
    return texts[kTextReplacedOutput] + std::to_string(earlier) + kLineEnd;
}

std::string RunSummary(const TextTable& texts, int written, int listed, bool skipped, int replaced) {
    std::string summary = texts[kTextSummaryWritten] + std::to_string(written) + " / " + std::to_string(listed);
    if (skipped) summary += kLineEnd + texts[kTextSummaryRest];
    if (replaced > 0) summary += kLineEnd + texts[kTextSummaryReplaced] + std::to_string(replaced);
    return summary;
}

}  // namespace velinor::app
