#pragma once
// One instance per user. A lock file in the user's runtime directory
// ($XDG_RUNTIME_DIR, else the temporary directory), named after "Ruvelkon"
// and the user id, is locked with flock for the life of the process. The
// kernel drops the lock when the process ends in any way, so a lock left by a
// crashed or killed process never blocks the next start.

#include <QString>

namespace kal {

// The lock file of this user.
QString SingleInstanceLockPath();

// True when this process is the only instance (and from now on holds the lock
// until it ends); false when another process holds it. Calling it again in the
// holding process gives true. When the lock file cannot be made at all the
// start is not blocked (true).
bool AcquireSingleInstance();

} // namespace kal
