// The exports of Renovix.dll (names fixed by renovix.def).
#include "update/renovix/install_step.h"
#include "update/renovix/renovix_app.h"

#include <windows.h>

extern "C" {

// Velbrook's entry (also exported as StartDownload): the update dialog.
int ShowMainDialogFirst() { return renovix::ShowUpdateDialog(); }

int IsUpdation() { return renovix::IsUpdating(); }

// rundll32's entry: it passes a window, the instance, the command line and the show state in
// the stdcall convention; all four are ignored.
int CALLBACK InstallUpdates(HWND, HINSTANCE, LPSTR, int) {
    return renovix::RunInstallStep(renovix::DefaultInstallOptions());
}
}
