#pragma once
// A page slot whose page is not built yet: an empty child dialog that shows its title only.

#define IDD_PLACEHOLDER_PAGE 30100
#define IDD_PLACEHOLDER_SUB_PAGE 30101
#define IDC_PLACEHOLDER_TITLE 30102

#ifndef RC_INVOKED
#include "controls/base_dlg.h"

#include <string>

namespace shell {

class CPlaceholderPage : public controls::DialogImpl<CPlaceholderPage, controls::CBaseDlg> {
public:
    enum Size { kPage = IDD_PLACEHOLDER_PAGE, kSubPage = IDD_PLACEHOLDER_SUB_PAGE };
    explicit CPlaceholderPage(std::string title, Size size = kPage);

    static const controls::MessageTable<CPlaceholderPage>& Messages();
    const std::string& title() const { return title_; }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);

    std::string title_;
    platform::unique_hfont font_;
};

}  // namespace shell
#endif
