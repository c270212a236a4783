#include "shell/about_dlg.h"

#include "res/art_ids.h"
#include "shell/main_timers.h"
#include "controls/page_host.h"
#include "shell/layered_dlg.h"
#include "update/program_version.h"
#include "update/site_config.h"

namespace shell {

namespace {

constexpr COLORREF kBackground = RGB(240, 240, 240);
constexpr COLORREF kLinkBlue = RGB(32, 77, 165);

// "https://www.example.com:8080" shows as "www.example.com:8080".
std::string ShownAddress(const std::string& url) {
    const size_t scheme = url.find("://");
    return scheme == std::string::npos ? url : url.substr(scheme + 3);
}

}  // namespace

CAboutDlg::CAboutDlg() : DialogImpl(IDD_ABOUT_PAGE, kBackground) {}

const controls::MessageTable<CAboutDlg>& CAboutDlg::Messages() {
    static const controls::MessageTable<CAboutDlg> table = {
        controls::OnMessage(WM_INITDIALOG, &CAboutDlg::OnInitDialog),
        controls::OnMessage(WM_PAINT, &CAboutDlg::OnPaint),
        controls::OnCommand(IDC_ABOUT_CHECK_FOR_UPDATES, &CAboutDlg::OnCheckForUpdates),
        controls::OnCommand(IDC_ABOUT_BACK, &CAboutDlg::OnBack),
    };
    return table;
}

LRESULT CAboutDlg::OnInitDialog(WPARAM, LPARAM) {
    heading_.SubclassDlgItem(IDC_ABOUT_HEADING, hwnd());
    heading_.SetFontName("Arial")
        .SetFontSize(18)
        .SetFontBold(true)
        .SetTextColor(kLinkBlue)
        .SetBkColor(kBackground);
    const UINT captionIds[4] = {IDC_ABOUT_VERSION_CAPTION, IDC_ABOUT_WEBSITE_CAPTION,
                                IDC_ABOUT_SUPPORT_CAPTION, IDC_ABOUT_INFO_CAPTION};
    for (int i = 0; i < 4; ++i) {
        captions_[i].SubclassDlgItem(captionIds[i], hwnd());
        captions_[i].SetFontName("Arial").SetFontSize(10).SetFontBold(true).SetBkColor(kBackground);
    }
    version_.SubclassDlgItem(IDC_ABOUT_VERSION, hwnd());
    version_.SetFontName("Arial")
        .SetFontSize(10)
        .SetBkColor(kBackground)
        .SetText(update::GetProgramVersion());

    website_.SubclassDlgItem(IDC_ABOUT_WEBSITE, hwnd());
    website_.SetFontName("Arial")
        .SetFontSize(10)
        .SetBkColor(kBackground)
        .SetTextColor(kLinkBlue)
        .SetText(ShownAddress(update::ProductSiteUrl()))
        .SetLinkTarget(update::ProductSiteUrl())
        .SetLink(true, false);
    supportMail_.SubclassDlgItem(IDC_ABOUT_SUPPORT_MAIL, hwnd());
    supportMail_.SetFontName("Arial")
        .SetFontSize(10)
        .SetBkColor(kBackground)
        .SetTextColor(kLinkBlue)
        .SetText(kSupportMailAddress)
        .SetMailLink(true, false);
    infoMail_.SubclassDlgItem(IDC_ABOUT_INFO_MAIL, hwnd());
    infoMail_.SetFontName("Arial")
        .SetFontSize(10)
        .SetBkColor(kBackground)
        .SetTextColor(kLinkBlue)
        .SetText(kInfoMailAddress)
        .SetMailLink(true, false);

    checkForUpdates_.SubclassDlgItem(IDC_ABOUT_CHECK_FOR_UPDATES, hwnd());
    checkForUpdates_.SetFont("Arial", 14, false);
    checkForUpdates_.SetColors(kLinkBlue, kLinkBlue, kBackground);
    back_.SubclassDlgItem(IDC_ABOUT_BACK, hwnd());
    back_.SetBitmaps(art::kBack);
    return TRUE;
}

LRESULT CAboutDlg::OnPaint(WPARAM, LPARAM) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd(), &paint);
    platform::unique_hpen pen(::CreatePen(PS_SOLID, 1, RGB(255, 255, 255)));
    const HGDIOBJ old = ::SelectObject(dc, pen.get());
    ::MoveToEx(dc, 20, 50, nullptr);
    ::LineTo(dc, 680, 50);
    ::SelectObject(dc, old);
    ::EndPaint(hwnd(), &paint);
    return 0;
}

// The update dialog makes its own request: the monitor rests meanwhile and starts over after.
void CAboutDlg::OnCheckForUpdates() {
    HWND mainWindow = ::GetParent(hwnd());
    if (controls::PageHost* host = controls::CurrentPageHost()) {
        mainWindow = host->Window();
    }
    ::KillTimer(mainWindow, kMonitorTimer);
    RunInVeil(nullptr, mainWindow);
    ::SetTimer(mainWindow, kMonitorTimer, kMonitorPeriodMs, nullptr);
}

void CAboutDlg::OnBack() { controls::ShowPage(controls::kHomePage); }

}  // namespace shell
