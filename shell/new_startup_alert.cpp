#include "shell/new_startup_alert.h"

#include "engine/product_name.h"
#include "engine/startup_item.h"
#include "engine/text.h"
#include "cleanup/keep_off.h"
#include "history/manual_save.h"
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

std::string CameBackText(const std::string& name) {
    return "\"" + name + "\" has put itself back on Windows startup after it was switched off.";
}

std::string KeptOffText(const std::string& name, int count) {
    if (count <= 1) {
        return "\"" + name + "\" put itself back on Windows startup and was switched off again.";
    }
    return "\"" + name + "\" and " + std::to_string(count - 1) +
           " more programs put themselves back on Windows startup and were switched off again.";
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

CAlertDlg::CAlertDlg(const engine::StartupItem& item, AlertKind kind, int count)
    : DialogImpl(IDD_NEW_STARTUP_ALERT, kBackground), item_(item), kind_(kind), count_(count) {}

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
    const std::string text = kind_ == AlertKind::CameBack  ? CameBackText(item_.name)
                             : kind_ == AlertKind::KeptOff ? KeptOffText(item_.name, count_)
                                                           : AlertText(item_.name);
    ::SetWindowTextA(Item(IDC_ALERT_TEXT), text.c_str());
    if (kind_ == AlertKind::CameBack) {
        ::SetWindowTextA(Item(IDOK), "Switch Off Again");
    } else if (kind_ == AlertKind::KeptOff) {
        // Nothing to decide: it has been done.
        ::ShowWindow(Item(IDOK), SW_HIDE);
        ::SetWindowTextA(Item(IDCANCEL), "OK");
    }

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
    if (kind_ == AlertKind::CameBack) {
        OnSwitchOffAgain();
        return;
    }
    if (kind_ == AlertKind::KeptOff) {
        return;
    }
    if (HWND main = ::GetWindow(hwnd(), GW_OWNER)) {
        ::ShowWindow(main, SW_SHOW);
        ::ShowWindow(main, SW_RESTORE);
    }
    controls::ShowPage(controls::kManualFixPage);
    OnClose();
}

// A manual fix of one entry; the engine replaces its older store record.
void CAlertDlg::OnSwitchOffAgain() {
    KillTimer(kCloseTimer);
    engine::StartupItem entry = item_;
    entry.enabled = true;
    history::SaveManualChanges({{&entry, false}}, engine::ReportStyle::Page(hwnd()));
    OnClose();
}

void CAlertDlg::OnClose() {
    KillTimer(kCloseTimer);
    EndDialog(IDCANCEL);
}

void ShowNewStartupAlert(HWND owner, const engine::StartupItem& item, AlertKind kind, int count) {
    CAlertDlg alert(item, kind, count);
    alert.DoModal(owner);
}

int KeepOffAndTell(HWND owner, std::vector<engine::StartupItem>& entries, bool alerts) {
    const history::ManualSaveOutcome outcome =
        cleanup::KeepReturnedOff(entries, engine::ReportStyle::Free());
    if (!alerts || outcome.switchedOff == 0) {
        return outcome.switchedOff;
    }
    for (const engine::StartupItem& entry : entries) {
        if (!entry.enabled) {
            ShowNewStartupAlert(owner, entry, AlertKind::KeptOff, outcome.switchedOff);
            break;
        }
    }
    return outcome.switchedOff;
}

}  // namespace shell
