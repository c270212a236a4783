#pragma once
// The splash screen: the splash bitmap for one second before the main window appears; its end
// starts the monitor's first, silent pass. The main window makes its pages while it is shown.

#define IDD_SPLASH_SCREEN 148

#ifndef RC_INVOKED
#include "controls/base_dlg.h"
#include "platform/unique_any.h"

#include <functional>

namespace shell {

class CSplashScreenDlg : public controls::DialogImpl<CSplashScreenDlg, controls::CBaseDlg> {
public:
    // whileShown runs on this thread once the splash is painted; the splash ends one second
    // after it appeared or when whileShown returns, whichever is later.
    explicit CSplashScreenDlg(std::function<void()> whileShown = {});

    static const controls::MessageTable<CSplashScreenDlg>& Messages();

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM dc, LPARAM);
    void OnCloseTimer();
    void OnWorkTimer();

    platform::unique_hbitmap bitmap_;
    std::function<void()> whileShown_;
};

}  // namespace shell
#endif
