#pragma once
// The main window's timers, which the About page stops and re-arms around the update dialog.

#include <windows.h>

namespace shell {

// Starts a monitor pass: first 10 s after the check at start, then every 3 minutes.
inline constexpr UINT_PTR kMonitorTimer = 300;
inline constexpr UINT kFirstMonitorDelayMs = 10000;
inline constexpr UINT kMonitorPeriodMs = 180000;
// Fires once, 100 ms after the main window is up: the update check at start.
inline constexpr UINT_PTR kStartTimer = 500;
inline constexpr UINT kStartDelayMs = 100;

}  // namespace shell
