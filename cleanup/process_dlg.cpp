#include "cleanup/process_dlg.h"

#include "cleanup/automatic_run.h"
#include "cleanup/scrap_scan.h"
#include "engine/product_name.h"
#include "history/status_values.h"
#include "platform/app_messages.h"

#include <commctrl.h>

namespace cleanup {

namespace {
constexpr UINT_PTR kStartTimer = 100;
// The dialog is on screen before the worker's first message.
constexpr UINT kStartDelayMs = 1000;

bool IsUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}
}  // namespace

CDlgProcessDlg::CDlgProcessDlg() : DialogImpl(IDD_AUTOMATIC_RUN, RGB(0xF0, 0xF0, 0xF0)) {}

const controls::MessageTable<CDlgProcessDlg>& CDlgProcessDlg::Messages() {
    static const controls::MessageTable<CDlgProcessDlg> table = {
        controls::OnMessage(WM_INITDIALOG, &CDlgProcessDlg::OnInitDialog),
        controls::OnTimer(kStartTimer, &CDlgProcessDlg::OnStartTimer),
        controls::OnMessage(platform::MSG_AUTORUN_ENTRY, &CDlgProcessDlg::OnEntryStarted),
        controls::OnMessage(platform::MSG_AUTORUN_DONE, &CDlgProcessDlg::OnRunFinished),
        // Enter and Escape: the run always goes through every entry.
        controls::OnCommand(IDOK, &CDlgProcessDlg::OnIgnoredCommand),
        controls::OnCommand(IDCANCEL, &CDlgProcessDlg::OnIgnoredCommand),
    };
    return table;
}

LRESULT CDlgProcessDlg::OnInitDialog(WPARAM, LPARAM) {
    // The message wraps over two lines, so it stays a plain static with a bold font.
    LOGFONT font{};
    ::GetObject(reinterpret_cast<HFONT>(::SendMessage(hwnd(), WM_GETFONT, 0, 0)), sizeof font,
                &font);
    font.lfWeight = FW_BOLD;
    messageFont_.reset(::CreateFontIndirect(&font));
    ::SendDlgItemMessage(hwnd(), IDC_AUTORUN_MESSAGE, WM_SETFONT,
                         reinterpret_cast<WPARAM>(messageFont_.get()), FALSE);
    const auto total = static_cast<int>(ScrapList().items.size());
    ::SendDlgItemMessage(hwnd(), IDC_AUTORUN_PROGRESS, PBM_SETRANGE32, 0, total);
    ::SendDlgItemMessage(hwnd(), IDC_AUTORUN_PROGRESS, PBM_SETPOS, 0, 0);
    ::SetWindowTextA(hwnd(), engine::ProductName);
    SetTimer(kStartTimer, kStartDelayMs);
    return TRUE;
}

void CDlgProcessDlg::OnStartTimer() {
    KillTimer(kStartTimer);
    ScrapProgramList& scrap = ScrapList();
    scrap.notifyWindow = hwnd();
    scrap.worker.reset(::CreateThread(nullptr, 0, &CDlgProcessDlg::Worker, &scrap, 0, nullptr));
}

DWORD WINAPI CDlgProcessDlg::Worker(void* scrapList) {
    auto& scrap = *static_cast<ScrapProgramList*>(scrapList);
    const HWND window = scrap.notifyWindow;
    AutomaticRunProgress progress;
    progress.entryStarted = [window](const engine::StartupItem& entry, size_t index) {
        ::SendMessage(window, platform::MSG_AUTORUN_ENTRY, reinterpret_cast<WPARAM>(&entry),
                      static_cast<LPARAM>(index));
    };
    progress.finished = [window](size_t total, int fixed) {
        ::SendMessage(window, platform::MSG_AUTORUN_DONE, static_cast<WPARAM>(total), fixed);
    };
    RunAutomaticFix(scrap.items, progress);
    return 1;
}

LRESULT CDlgProcessDlg::OnEntryStarted(WPARAM, LPARAM index) {
    ::SendDlgItemMessage(hwnd(), IDC_AUTORUN_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(index), 0);
    return 0;
}

LRESULT CDlgProcessDlg::OnRunFinished(WPARAM total, LPARAM fixed) {
    fixedCount_ = static_cast<int>(fixed);
    history::StoreAutomaticRunStatus(static_cast<int>(total), fixedCount_);
    PaintOnlyFor(kFinishedPauseMs);
    EndDialog(IDOK);
    return 0;
}

void CDlgProcessDlg::PaintOnlyFor(DWORD milliseconds) const {
    const ULONGLONG until = ::GetTickCount64() + milliseconds;
    for (ULONGLONG now = ::GetTickCount64(); now < until; now = ::GetTickCount64()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now),
                                    QS_ALLINPUT);
        MSG msg;
        while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // A key pressed now would otherwise reach the message box that reports the run.
            if (IsUserInput(msg.message)) {
                continue;
            }
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop that owns it
                return;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessage(&msg);
        }
    }
}

}  // namespace cleanup
