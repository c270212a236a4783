#include "shell/startup_update_check.h"

#include "platform/app_messages.h"
#include "update/version_check.h"

#include <thread>

namespace shell {

void StartUpdateCheck(HWND window, int skip) {
    // Detached: a request that is still waiting when the program ends must not hold it up;
    // a window that has gone by then simply does not take the message.
    std::thread([window, skip] {
        const bool available = update::CheckForUpdate(skip);
        ::SendMessage(window, platform::MSG_UPDATE_CHECK_DONE, available ? 1 : 0, 0);
    }).detach();
}

}  // namespace shell
