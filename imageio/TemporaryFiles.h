#pragma once

#include <string>

namespace velinor::imageio {

// Temporary files of saves in progress, removed when the process is ended by SIGTERM, SIGINT
// or SIGHUP, so that an interrupted save leaves nothing beside its destination. The handlers
// are installed at the first registration, only for signals whose action is still the
// default, and end the process as the default action would once the files are gone.

// A slot to pass to ForgetTemporary; -1 when the path cannot be kept (too long, or too many
// saves at once), in which case the file is not removed on a signal.
int RememberTemporary(const std::string& path);
void ForgetTemporary(int slot);

}  // namespace velinor::imageio
