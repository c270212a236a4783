#pragma once
// The update check at start runs on a worker thread; its answer comes back to the main window
// as a sent MSG_UPDATE_CHECK_DONE (wParam 1: a newer version is available).

#include <windows.h>

namespace shell {

void StartUpdateCheck(HWND window, int skip);

}  // namespace shell
