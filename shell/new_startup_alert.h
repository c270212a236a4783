#pragma once
// The alert that announces a new startup entry above the notification area: it fades in at
// the bottom-right of the work area, topmost but without taking the focus, and closes itself
// after 10 s. "Manage Now" brings the main window back on its manual-fix page. Two variants
// share the window: an entry that put itself back after it was switched off ("Switch Off
// Again" switches it off as a manual fix), and entries switched off again by "Keep
// switched-off programs off" (information only, "OK").

#define IDD_NEW_STARTUP_ALERT 207
#define IDC_ALERT_TEXT 1015
#define IDC_ALERT_ICON 1084

#ifndef RC_INVOKED
#include "controls/base_dlg.h"
#include "platform/unique_any.h"

#include <windows.h>

#include <string>
#include <vector>

namespace engine {
struct StartupItem;
}

namespace shell {

enum class AlertKind { NewEntry, CameBack, KeptOff };

class CAlertDlg : public controls::DialogImpl<CAlertDlg, controls::CBaseDlg> {
public:
    static constexpr UINT_PTR kCloseTimer = 100;
    static constexpr UINT kCloseAfterMs = 10000;
    static constexpr UINT kFadeMs = 200;
    // Gap between the window's bottom-right corner and the work area's.
    static constexpr int kInset = 2;

    // For KeptOff, count is the number of entries switched off again, item the first of them.
    explicit CAlertDlg(const engine::StartupItem& item, AlertKind kind = AlertKind::NewEntry,
                       int count = 1);

    static const controls::MessageTable<CAlertDlg>& Messages();

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    void OnManageNow();
    void OnSwitchOffAgain();
    void OnClose();

    const engine::StartupItem& item_;
    AlertKind kind_;
    int count_;
    platform::unique_hfont font_;
    platform::unique_hicon icon_;
};

// "One New Program "name" Added in Tray list of Windows Startup."
std::string AlertText(const std::string& name);

// ""%1" has put itself back on Windows startup after it was switched off."
std::string CameBackText(const std::string& name);
// ""%1" put itself back on Windows startup and was switched off again.", or for more than one
// entry: ""%1" and %2!d! more programs put themselves back ... and were switched off again."
std::string KeptOffText(const std::string& name, int count);

// The file whose icon the alert shows for a command: the text before the first "/" without
// double quotes and outer blanks when such a file exists, else "null.exe" (whose icon, asked
// by attributes, is the generic program icon).
std::string AlertIconSource(const std::string& command);

// Runs the alert for item modally (the monitor's worker waits meanwhile); owner is the main
// window.
void ShowNewStartupAlert(HWND owner, const engine::StartupItem& item,
                         AlertKind kind = AlertKind::NewEntry, int count = 1);

// The window thread's part of "Keep switched-off programs off": switches the entries off again
// as one fix (the ignore list wins; failures are reported as the automatic run reports them),
// clears the enabled flag of each one switched off, and, when alerts, tells the user in the
// information variant of the alert. Returns how many it switched off.
int KeepOffAndTell(HWND owner, std::vector<engine::StartupItem>& entries, bool alerts);

}  // namespace shell
#endif
