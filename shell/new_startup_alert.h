#pragma once
// The alert that announces a new startup entry above the notification area.

#include <windows.h>

namespace engine {
struct StartupItem;
}

namespace shell {

// Runs the alert for item modally (the monitor's worker waits meanwhile); owner is the main
// window.
void ShowNewStartupAlert(HWND owner, const engine::StartupItem& item);

}  // namespace shell
