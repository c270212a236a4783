#pragma once
// The one way in to the Automatic Fix dialog, for every page that offers it.

#include <windows.h>

namespace cleanup {

// Runs the Automatic Fix dialog modally inside the veil over the main window (owner when there
// is none); returns IDOK when a fix ran or the list was emptied, IDCANCEL otherwise.
INT_PTR OpenAutomaticFix(HWND owner);

}  // namespace cleanup
