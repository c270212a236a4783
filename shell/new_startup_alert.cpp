#include "shell/new_startup_alert.h"

#include "engine/product_name.h"
#include "engine/startup_item.h"
#include "engine/text.h"
#include "controls/page_host.h"

#include <shellapi.h>

namespace shell {

namespace {

constexpr COLORREF kBackground = RGB(240, 240, 240);

platform::unique_hfont ArialPoints(HWND window, int points) {
    HDC dc = ::GetDC(window);
    const int height = -::MulDiv(points, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(window, dc);
    return platform::unique_hfont(::CreateFontA(
        height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial"));
}

}  // namespace

std::string AlertText(const std::string& name) {
    return "One New Program \"" + name + "\" Added in Tray list of Windows Startup.";
}

std::string AlertIconSource(const std::string& command) {
    std::string path;
    for (char c : command.substr(0, command.find('/'))) {
        if (c != '"') {
            path += c;
        }
    }
    path = std::string(engine::TrimBlanks(path));
    const DWORD attributes =
        path.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return "null.exe";
    }
    return path;
}

CAlertDlg::CAlertDlg(const engine::StartupItem& item)
    : DialogImpl(IDD_NEW_STARTUP_ALERT, kBackground), item_(item) {}

const controls::MessageTable<CAlertDlg>& CAlertDlg::Messages() {
    static const controls::MessageTable<CAlertDlg> table = {
        controls::OnMessage(WM_INITDIALOG, &CAlertDlg::OnInitDialog),
        controls::OnCommand(IDOK, &CAlertDlg::OnManageNow),
        controls::OnCommand(IDCANCEL, &CAlertDlg::OnClose),
        controls::OnTimer(kCloseTimer, &CAlertDlg::OnClose),
    };
    return table;
}

LRESULT CAlertDlg::OnInitDialog(WPARAM, LPARAM) {
    const HWND window = hwnd();
    RECT workArea{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowTextA(window, engine::ProductName);
    ::SetWindowPos(window, HWND_TOPMOST, workArea.right - kInset - width,
                   workArea.bottom - kInset - height, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);

    font_ = ArialPoints(window, 9);
    ::SendMessageA(Item(IDC_ALERT_TEXT), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    ::SetWindowTextA(Item(IDC_ALERT_TEXT), AlertText(item_.name).c_str());

    SHFILEINFOA info{};
    if (::SHGetFileInfoA(AlertIconSource(item_.command).c_str(), FILE_ATTRIBUTE_NORMAL, &info,
                         sizeof info, SHGFI_ICON | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES)) {
        icon_.reset(info.hIcon);
        ::SendMessageA(Item(IDC_ALERT_ICON), STM_SETICON, reinterpret_cast<WPARAM>(info.hIcon), 0);
    }

    SetTimer(kCloseTimer, kCloseAfterMs);
    // Shown by the fade itself, so the dialog manager neither shows nor activates it again.
    ::AnimateWindow(window, kFadeMs, AW_BLEND);
    return FALSE;  // the focus stays where the user has it
}

void CAlertDlg::OnManageNow() {
    if (HWND main = ::GetWindow(hwnd(), GW_OWNER)) {
        ::ShowWindow(main, SW_SHOW);
        ::ShowWindow(main, SW_RESTORE);
    }
    controls::ShowPage(controls::kManualFixPage);
    OnClose();
}

void CAlertDlg::OnClose() {
    KillTimer(kCloseTimer);
    EndDialog(IDCANCEL);
}

void ShowNewStartupAlert(HWND owner, const engine::StartupItem& item) {
    CAlertDlg alert(item);
    alert.DoModal(owner);
}

}  // namespace shell
