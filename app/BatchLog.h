#pragma once

#include <string>

#include "app/BatchOutputNames.h"
#include "app/TextTable.h"

// The lines the log of a batch run shows.
namespace velinor::app {

// Why a picture of a run was not written.
enum class SkipReason {
    NotLoaded,        // the picture does not load
    LogoNotLoaded,    // the logo does not decode
    NotSaved,         // writing the result failed
    WouldReplaceSource,  // the output name is one of the run's own source pictures
};

// The log line of a written picture: source + text 87, then text 88 + the shown path + text 89
// (numbered) or text 90 (kept name), each line ended by CR LF.
std::string WrittenLogLine(const TextTable& texts, const std::string& source, const OutputName& name);

// The log line of a picture that was skipped: source + the text saying why, ended by CR LF.
std::string SkippedLogLine(const TextTable& texts, const std::string& source, SkipReason reason);

// The warning after a run that skipped pictures: text 42 + written + " / " + listed, CR LF,
// text 43.
std::string SkippedSummary(const TextTable& texts, int written, int listed);

}  // namespace velinor::app
