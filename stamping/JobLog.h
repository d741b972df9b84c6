#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

// The job log a run writes with --json (one object a picture, then a summary object), read
// back so that a later run leaves alone what an earlier one finished.
namespace velinor::stamping {

// The string members of one JSON object written on one line ("source", "output", "status",
// ...); members of other kinds are left out. Nothing when the line is not such an object, as
// the last line of a log cut short is not.
std::optional<std::map<std::string, std::string>> ParseJsonLine(std::string_view line);

// The pictures a log reports done: status ok or skipped, with an output that is still there.
// Keyed by the source's ListKey, the value is the output.
struct DoneBefore {
    std::map<std::string, std::string> outputs;
    int lines = 0;        // picture lines read
};

// Reads the log file path. False, with problem, when it cannot be read.
bool ReadJobLog(const std::string& path, DoneBefore& done, std::string& problem);

}  // namespace velinor::stamping
