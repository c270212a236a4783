#pragma once
// The running copy's main window, as the second copy, the install step and the setup look for
// it: a top-level window titled with the product's name that holds the header's Home button.
// The new-startup alert and message boxes carry the same title, and the first of them in the
// z-order is not the window to bring back or to ask to exit.

#include <windows.h>

namespace shell {

// The control id that marks the main window (its header's Home button).
inline constexpr int kMainWindowMarkId = 1071;

// Null when no copy of the program has its main window.
HWND FindRunningMainWindow();

}  // namespace shell
