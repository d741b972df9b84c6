#pragma once

#include <string>
#include <vector>

#include "stamping/StampPicture.h"

namespace velinor::stamping {

// The pictures a run is given: each file as it is, and of each folder the files whose extension
// a folder given to the window would list (its sub-folders too when recursive, their layout
// kept under outputFolder). Folder entries are taken in name order. Numbers and the count are
// filled in. A name that is neither a file nor a folder gets a line in problems.
std::vector<StampJob> ListJobs(const std::vector<std::string>& inputs, bool recursive,
                               const std::string& outputFolder, std::vector<std::string>& problems);

// Creates folder and the folders above it that are missing. False, with problem, when it cannot.
bool MakeFolders(const std::string& folder, std::string& problem);

}  // namespace velinor::stamping
