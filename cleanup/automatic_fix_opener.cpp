#include "cleanup/automatic_fix_opener.h"

#include "cleanup/automatic_fix_dlg.h"
#include "shell/layered_dlg.h"

namespace cleanup {

INT_PTR OpenAutomaticFix(HWND owner) {
    CMngAutoStartupsDlg dialog;
    return shell::RunInVeil(&dialog, owner);
}

}  // namespace cleanup
