#pragma once
// The splash screen: the splash bitmap for one second before the main window appears; its end
// starts the monitor's first, silent pass.

#define IDD_SPLASH_SCREEN 148

#ifndef RC_INVOKED
#include "controls/base_dlg.h"
#include "platform/unique_any.h"

namespace shell {

class CSplashScreenDlg : public controls::DialogImpl<CSplashScreenDlg, controls::CBaseDlg> {
public:
    CSplashScreenDlg();

    static const controls::MessageTable<CSplashScreenDlg>& Messages();

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM dc, LPARAM);
    void OnCloseTimer();

    platform::unique_hbitmap bitmap_;
};

}  // namespace shell
#endif
