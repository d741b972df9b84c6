#pragma once

namespace velinor::platform::qt {

// Qt keeps per-user run-time files in $XDG_RUNTIME_DIR and warns on every start when it is not
// set (as under su, ssh without a session, containers and CI). Before Qt starts this points it
// at a private folder of the user's own (mode 0700) when none is set; a value already set is
// left as it is.
void PrepareRuntimeDirectory();

}  // namespace velinor::platform::qt
