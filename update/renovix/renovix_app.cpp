#include "update/renovix/renovix_app.h"

#include "update/renovix/update_dlg.h"

namespace renovix {

CRenovixApp& CRenovixApp::Instance() {
    static CRenovixApp app;
    return app;
}

int ShowUpdateDialog() {
    CRenovixApp& app = CRenovixApp::Instance();
    auto* dialog = new CUpdateDlg;
    CUpdateDlg* none = nullptr;
    if (!app.openDialog.compare_exchange_strong(none, dialog)) {
        delete dialog;
        return 0;
    }
    const INT_PTR result = dialog->DoModal(nullptr);
    app.openDialog = nullptr;
    // A worker that was started may still use the dialog object: whichever of the two ends
    // last deletes it (the worker never touches the window once the dialog has closed).
    CUpdateDlg::Release(dialog);
    return static_cast<int>(result);
}

int IsUpdating() {
    const CRenovixApp& app = CRenovixApp::Instance();
    return app.openDialog.load() ? 0 : app.downloadRunning.load();
}

}  // namespace renovix
