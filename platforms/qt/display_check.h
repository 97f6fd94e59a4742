#pragma once

namespace qex::app {

// Until the application object exists, a platform that cannot start ends the program with
// one clear line and status 1 instead of the toolkit's abort and core dump.
void guardPlatformStart();

// Puts the toolkit's own message reporting back once the platform has started.
void endPlatformGuard();

}  // namespace qex::app
