#pragma once
// The new-startup monitor: passes over every startup source on worker threads that report
// each entry not seen before to a notify window (MSG_MONITOR_NEW_ENTRY, then MSG_MONITOR_DONE).

#include <windows.h>

namespace shell {

// Starts one monitor pass on a new worker thread reporting to notifyWindow; the first pass of
// the program only records what is there.
void StartMonitorPass(HWND notifyWindow);

}  // namespace shell
