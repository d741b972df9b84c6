#pragma once

#include <string>

// The names a batch run writes its pictures under.
namespace velinor::app {

struct OutputName {
    std::string path;     // the file written
    std::string shown;    // the path as the log shows it: numbered names without ".jpg"
    bool kept = false;    // the source's own file name (its content is JPEG all the same)
};

// Output name of picture number (1-based) with source path source: the source's file part
// when keepNames is set, else pictureName (or "img" when it is empty) followed by the number
// in plain decimal and ".jpg"; each inside outputDir.
// False for a picture name that could lead outside the output folder: one holding a folder
// separator ('/' or a backslash) or "..".
bool PlainPictureName(const std::string& pictureName);

OutputName BatchOutputName(const std::string& outputDir, const std::string& pictureName, bool keepNames,
                           int number, const std::string& source);

}  // namespace velinor::app
