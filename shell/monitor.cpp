#include "shell/monitor.h"

namespace shell {

// The monitor is not built yet: a pass does nothing.
void StartMonitorPass(HWND) {}

}  // namespace shell
