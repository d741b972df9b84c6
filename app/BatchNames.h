#pragma once

#include <string>

#include "app/TextTable.h"

// Output names of a batch run and the lines its log shows.
namespace velinor::app {

struct OutputName {
    std::string path;     // the file written
    std::string shown;    // the path as the log shows it: numbered names without ".jpg"
    bool kept = false;    // the source's own file name (its content is JPEG all the same)
};

// Output name of picture number (1-based) with source path source: the source's file part
// when keepNames is set, else pictureName (or "img" when it is empty) followed by the number
// in plain decimal and ".jpg"; each inside outputDir.
OutputName BatchOutputName(const std::string& outputDir, const std::string& pictureName, bool keepNames,
                           int number, const std::string& source);

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
