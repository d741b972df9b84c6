#pragma once

#include <string>
#include <vector>

namespace velinor::tools {

// velinor-cli stamp with the arguments after "stamp": reads the preset, the logo and the
// texture, stamps every picture on its workers, tells the user as it goes and returns the exit
// status (0 all written or skipped as asked, 3 some failed, 1 nothing started, 2 bad usage,
// 130 / 143 after SIGINT / SIGTERM).
int RunStampCommand(const std::vector<std::string>& arguments);

}  // namespace velinor::tools
