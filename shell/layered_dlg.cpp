#include "shell/layered_dlg.h"

#include "controls/dialog.h"
#include "shell/page_host.h"
#include "update/renovix_loader.h"

namespace shell {

// Until the veil window exists the inner dialog runs straight over its owner.
INT_PTR RunInVeil(controls::CDialog* inner, HWND owner) {
    if (PageHost* host = CurrentPageHost()) {
        owner = host->Window();
    }
    if (!inner) {
        update::RunUpdateDialog();
        return IDOK;
    }
    return inner->DoModal(owner) == IDOK ? IDOK : IDCANCEL;
}

}  // namespace shell
