#pragma once
// The alert that announces a new startup entry above the notification area: it fades in at
// the bottom-right of the work area, topmost but without taking the focus, and closes itself
// after 10 s. "Manage Now" brings the main window back on its manual-fix page.

#define IDD_NEW_STARTUP_ALERT 207
#define IDC_ALERT_TEXT 1015
#define IDC_ALERT_ICON 1084

#ifndef RC_INVOKED
#include "controls/base_dlg.h"
#include "platform/unique_any.h"

#include <windows.h>

#include <string>

namespace engine {
struct StartupItem;
}

namespace shell {

class CAlertDlg : public controls::DialogImpl<CAlertDlg, controls::CBaseDlg> {
public:
    static constexpr UINT_PTR kCloseTimer = 100;
    static constexpr UINT kCloseAfterMs = 10000;
    static constexpr UINT kFadeMs = 200;
    // Gap between the window's bottom-right corner and the work area's.
    static constexpr int kInset = 2;

    explicit CAlertDlg(const engine::StartupItem& item);

    static const controls::MessageTable<CAlertDlg>& Messages();

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    void OnManageNow();
    void OnClose();

    const engine::StartupItem& item_;
    platform::unique_hfont font_;
    platform::unique_hicon icon_;
};

// "One New Program "name" Added in Tray list of Windows Startup."
std::string AlertText(const std::string& name);

// The file whose icon the alert shows for a command: the text before the first "/" without
// double quotes and outer blanks when such a file exists, else "null.exe" (whose icon, asked
// by attributes, is the generic program icon).
std::string AlertIconSource(const std::string& command);

// Runs the alert for item modally (the monitor's worker waits meanwhile); owner is the main
// window.
void ShowNewStartupAlert(HWND owner, const engine::StartupItem& item);

}  // namespace shell
#endif
