#pragma once
// The translucent veil over the main window while a modal inner dialog runs.

#define IDD_LAYERED_DLG 198

#ifndef RC_INVOKED
#include "controls/base_dlg.h"

namespace shell {

// A black window at alpha 127 that covers its owner, runs the inner dialog modally once it is
// up (the update dialog when there is none) and closes with the inner dialog's answer.
class CLayeredDlg : public controls::DialogImpl<CLayeredDlg, controls::CBaseDlg> {
public:
    explicit CLayeredDlg(controls::CDialog* inner);

    static const controls::MessageTable<CLayeredDlg>& Messages();

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    void OnRunTimer();
    void OnIgnoredKey() {}

    controls::CDialog* inner_;
};

// Runs inner modally inside the veil over the main window (over owner when there is no page
// host) and returns IDOK when inner ended with IDOK, IDCANCEL otherwise. With no inner dialog
// the veil runs the update dialog and returns IDOK.
INT_PTR RunInVeil(controls::CDialog* inner, HWND owner = nullptr);

}  // namespace shell
#endif
