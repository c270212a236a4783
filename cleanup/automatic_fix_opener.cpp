#include "cleanup/automatic_fix_opener.h"

#include "cleanup/automatic_fix_dlg.h"
#include "controls/page_host.h"

namespace cleanup {

INT_PTR OpenAutomaticFix(HWND owner) {
    CMngAutoStartupsDlg dialog;
    return controls::RunInVeil(&dialog, owner);
}

}  // namespace cleanup
