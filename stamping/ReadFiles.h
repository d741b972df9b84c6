#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "imageio/OutputGuard.h"

namespace velinor::stamping {

// The files a stamping run reads (its sources, the logo and the texture tile), none of which it
// may ever write: an output name is compared with them as it resolves at the moment of writing
// and by the file each was when the run started (see imageio::OutputGuard).
class ReadFiles {
public:
    ReadFiles(const std::vector<std::string>& sources, const std::vector<std::string>& others);

    // Why output may not be put in place, naming it; empty when it may.
    std::string Refusal(const std::string& output) const;

private:
    imageio::OutputGuard guard_;
    std::size_t sources_ = 0;
};

}  // namespace velinor::stamping
