#include "shell/new_startup_alert.h"

namespace shell {

// The alert window is not built yet: nothing is shown.
void ShowNewStartupAlert(HWND, const engine::StartupItem&) {}

}  // namespace shell
