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
    WouldReplaceLogo,    // the output name is the logo the run draws
    OutputIsLink,        // the output name is a symbolic link, which a run never writes through
};

// The log line of a written picture: source + text 87, then text 88 + the shown path + text 89
// (numbered) or text 90 (kept name), each line ended by CR LF.
std::string WrittenLogLine(const TextTable& texts, const std::string& source, const OutputName& name);

// The log line of a picture that was skipped: source + the text saying why, ended by CR LF.
std::string SkippedLogLine(const TextTable& texts, const std::string& source, SkipReason reason);

// The line added to a written picture's line when it replaced the output of picture earlier of
// the same run: the text saying so + earlier, ended by CR LF.
std::string ReplacedOutputLine(const TextTable& texts, int earlier);

// The warning after a run that skipped pictures or replaced its own outputs: text 42 + written +
// " / " + listed; then, each on a line of its own, text 43 when pictures were skipped, and the
// count of pictures that replaced an earlier output when there are any.
std::string RunSummary(const TextTable& texts, int written, int listed, bool skipped, int replaced);

}  // namespace velinor::app
