#pragma once

namespace cli {

enum ExitCode : int {
    kExitDone = 0,
    kExitFailed = 1,            // the operation failed; the engine's message is on stderr
    kExitUsage = 2,             // usage error, or no such entry
    kExitUpdateAvailable = 10,  // check-update: the product site names a newer version
};

}  // namespace cli
