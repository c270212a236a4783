#pragma once
// The translucent veil over the main window while a modal inner dialog runs.

#include <windows.h>

namespace controls {
class CDialog;
}

namespace shell {

// Runs inner modally inside the veil over the main window (over owner when there is no page
// host) and returns IDOK when inner ended with IDOK, IDCANCEL otherwise. With no inner dialog
// the veil runs the update dialog and returns IDOK.
INT_PTR RunInVeil(controls::CDialog* inner, HWND owner = nullptr);

}  // namespace shell
