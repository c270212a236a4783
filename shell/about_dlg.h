#pragma once
// The About page (page 3): the program's version, the site and the mail addresses, the way to
// the update dialog and back to the home page.

#define IDD_ABOUT_PAGE 100
#define IDC_ABOUT_CHECK_FOR_UPDATES 1
#define IDC_ABOUT_HEADING 1010
#define IDC_ABOUT_VERSION 1011
#define IDC_ABOUT_WEBSITE 1012
#define IDC_ABOUT_SUPPORT_MAIL 1013
#define IDC_ABOUT_INFO_MAIL 1014
#define IDC_ABOUT_BACK 1018
#define IDC_ABOUT_VERSION_CAPTION 1020
#define IDC_ABOUT_WEBSITE_CAPTION 1021
#define IDC_ABOUT_SUPPORT_CAPTION 1022
#define IDC_ABOUT_INFO_CAPTION 1023

#ifndef RC_INVOKED
#include "controls/base_dlg.h"
#include "controls/hyperlink_button.h"
#include "controls/label.h"
#include "controls/xp_button.h"

namespace shell {

inline constexpr char kSupportMailAddress[] = "support@velbrook.com";
inline constexpr char kInfoMailAddress[] = "info@velbrook.com";

class CAboutDlg : public controls::DialogImpl<CAboutDlg, controls::CBaseDlg> {
public:
    CAboutDlg();

    static const controls::MessageTable<CAboutDlg>& Messages();

private:
    LRESULT OnInitDialog(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    void OnCheckForUpdates();
    void OnBack();

    controls::CLabel heading_, version_, website_, supportMail_, infoMail_;
    controls::CLabel captions_[4];
    controls::CHyperLinkButton checkForUpdates_;
    controls::CXPButton back_;
};

}  // namespace shell
#endif
