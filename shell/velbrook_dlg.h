#pragma once
// The main window: a header with the title, links and three page buttons above five pages of
// which one is visible; the tray icon; the timers of the update check at start and of the
// monitor. Closing it only hides it; "Exit" of the tray menu or the installer's close request
// (WM_CLOSE with both parameters 1) end it, and with it the program.

#define IDD_VELBROOK_DIALOG 102
#define IDS_ABOUTBOX 101
#define IDM_ABOUTBOX 16
#define IDC_MAIN_TITLE 1003
#define IDC_MAIN_LOGO 1005
#define IDC_HELP_LINK 1034
#define IDC_ABOUT_LINK 1035
#define IDC_FEEDBACK_LINK 1036
#define IDC_HEADER_HOME 1071  // shell::kMainWindowMarkId: how the main window is found
#define IDC_HEADER_STARTUPS 1072
#define IDC_HEADER_SETTINGS 1073
#define IDC_LINK_SEPARATOR_1 1074
#define IDC_LINK_SEPARATOR_2 1075
#define IDC_MAIN_SUBTITLE 1083

#ifndef RC_INVOKED
#include "controls/base_dlg.h"
#include "controls/hyperlink_button.h"
#include "controls/label.h"
#include "controls/xp_button.h"
#include "platform/unique_any.h"
#include "controls/page_host.h"
#include "shell/page_table.h"
#include "shell/tray_notify_icon.h"

namespace shell {

inline constexpr int kMinimumWindowWidth = 739;
inline constexpr int kMinimumWindowHeight = 572;
// Where every page sits in the main window's client area.
inline constexpr RECT kPageArea{0, 120, 724, 535};

class CVelbrookDlg : public controls::DialogImpl<CVelbrookDlg, controls::CBaseDlg>,
                     public controls::PageHost {
public:
    CVelbrookDlg();
    ~CVelbrookDlg() override;

    static const controls::MessageTable<CVelbrookDlg>& Messages();

    // PageHost
    HWND Window() const override { return hwnd(); }
    int VisiblePage() const override { return visible_; }
    void SelectPage(int index) override;
    void SelectSettingsSubPage(int index) override;
    controls::CDialog* Page(int index) override;
    void ApplyTraySetting() override;
    INT_PTR RunInVeil(controls::CDialog* inner) override;

    // The veil with the update dialog in it.
    void ShowUpdateOverlay();
    const CTrayNotifyIcon& tray() const { return tray_; }
    const controls::CXPButton& headerButton(int index) const { return headerButtons_[index]; }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnDestroy(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM shown, LPARAM);
    LRESULT OnAfterFirstShow(WPARAM, LPARAM);
    LRESULT OnSysCommand(WPARAM command, LPARAM);
    LRESULT OnClose(WPARAM, LPARAM);
    LRESULT OnWindowPosChanging(WPARAM, LPARAM position);
    LRESULT OnGetMinMaxInfo(WPARAM, LPARAM info);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    LRESULT OnTrayNotify(WPARAM, LPARAM mouseMessage);
    LRESULT OnShowRunningCopy(WPARAM, LPARAM);
    LRESULT OnNewStartup(WPARAM item, LPARAM);
    LRESULT OnMonitorDone(WPARAM, LPARAM);
    LRESULT OnKeepOff(WPARAM entries, LPARAM alerts);
    LRESULT OnUpdateCheckDone(WPARAM available, LPARAM);
    void OnHeaderButton(UINT id);
    void OnAbout();
    void OnHelp();
    void OnFeedback();
    void OnTrayLaunch();
    void OnTrayVisitWebsite();
    void OnTrayExit();
    void OnStartTimer();
    void OnMonitorTimer();

    void SetUpHeader();
    void TellPagesEntriesChanged();
    void CreatePageWindow(controls::CDialog& page);
    void BringBack();
    void ShowTrayMenu();
    bool HasTrayIcon() const;

    controls::CLabel title_, separator1_, separator2_, subtitle_;
    MainPages pages_;
    controls::CHyperLinkButton aboutLink_, helpLink_, feedbackLink_;
    controls::CXPButton headerButtons_[3];
    platform::unique_hicon bigIcon_, smallIcon_;
    int visible_ = -1;
    bool shownOnce_ = false;
    bool trayApplied_ = false;
    CTrayNotifyIcon tray_;
};

}  // namespace shell
#endif
