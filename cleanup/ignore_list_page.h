#pragma once
// CIgnoreListPage: the ignore list as a page of the tab-settings page; checked rows leave it.

// Template and control ids; the resource script reads this part.
#define IDD_IGNORE_LIST_PAGE 142
#define IDC_IGNORE_LIST 1041

#ifndef RC_INVOKED

#include "controls/base_dlg.h"
#include "controls/xp_button.h"

namespace cleanup {

class CIgnoreListPage : public controls::DialogImpl<CIgnoreListPage, controls::CBaseDlg> {
public:
    // The buttons: back to the home page, and remove.
    static constexpr UINT kBackButton = IDOK;
    static constexpr UINT kRemoveButton = IDCANCEL;

    CIgnoreListPage();
    static const controls::MessageTable<CIgnoreListPage>& Messages();

    // One row per name of data\ignore.dat; the remove button only while the file exists.
    void Reload();

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnShowWindow(WPARAM shown, LPARAM);
    LRESULT OnSize(WPARAM type, LPARAM);
    void OnBack();
    void OnRemove();

    // Name w/5, location the rest (less a pixel for the border once shown).
    void SetColumnWidths(int trim) const;

    HWND list_ = nullptr;
    controls::CXPButton back_, remove_;
};

}  // namespace cleanup

#endif  // RC_INVOKED
