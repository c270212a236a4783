#pragma once
// The tab-settings page (page 2): three buttons above three child pages (settings, ignore list,
// history), one of which is visible at a time, in a light frame.

#define IDD_TAB_SETTINGS_PAGE 141
#define IDC_TAB_SETTINGS 1046
#define IDC_TAB_IGNORE_LIST 1047
#define IDC_TAB_HISTORY 1048

#ifndef RC_INVOKED
#include "controls/base_dlg.h"
#include "controls/xp_button.h"
#include "shell/page_table.h"

namespace shell {

class CTabSettingsPage : public controls::DialogImpl<CTabSettingsPage, controls::CBaseDlg> {
public:
    CTabSettingsPage();

    static const controls::MessageTable<CTabSettingsPage>& Messages();

    // Shows child page index (a click on its button); the visible child is shown again (it
    // reloads), indexes above 2 do nothing.
    void SelectChild(int index);
    int VisibleChild() const { return visible_; }
    controls::CDialog* Child(int index) const;
    const controls::CXPButton& button(int index) const { return buttons_[index]; }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM shown, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    void OnTabButton(UINT id);
    void ShowChildAgain();

    SettingsSubPages children_;
    controls::CXPButton buttons_[3];
    int visible_ = -1;
};

}  // namespace shell
#endif
