#include "shell/layered_dlg.h"

#include "controls/page_host.h"
#include "update/renovix_loader.h"

namespace shell {

namespace {
constexpr UINT_PTR kRunTimer = 100;
constexpr BYTE kVeilAlpha = 127;

void SetLayered(HWND window, bool layered) {
    const LONG_PTR style = ::GetWindowLongPtr(window, GWL_EXSTYLE);
    ::SetWindowLongPtr(window, GWL_EXSTYLE,
                       layered ? (style | WS_EX_LAYERED) : (style & ~LONG_PTR{WS_EX_LAYERED}));
    if (layered) {
        ::SetLayeredWindowAttributes(window, 0, kVeilAlpha, LWA_ALPHA);
    }
}
}  // namespace

CLayeredDlg::CLayeredDlg(controls::CDialog* inner)
    : DialogImpl(IDD_LAYERED_DLG, RGB(0, 0, 0)), inner_(inner) {}

const controls::MessageTable<CLayeredDlg>& CLayeredDlg::Messages() {
    static const controls::MessageTable<CLayeredDlg> table = {
        controls::OnMessage(WM_INITDIALOG, &CLayeredDlg::OnInitDialog),
        controls::OnTimer(kRunTimer, &CLayeredDlg::OnRunTimer),
        controls::OnCommand(IDOK, &CLayeredDlg::OnIgnoredKey),
        controls::OnCommand(IDCANCEL, &CLayeredDlg::OnIgnoredKey),
    };
    return table;
}

LRESULT CLayeredDlg::OnInitDialog(WPARAM, LPARAM) {
    ::SetWindowTextA(hwnd(), "Velbrook Veil");
    HWND owner = ::GetWindow(hwnd(), GW_OWNER);
    if (owner) {
        const auto big = ::SendMessage(owner, WM_GETICON, ICON_BIG, 0);
        const auto small = ::SendMessage(owner, WM_GETICON, ICON_SMALL, 0);
        ::SendMessage(hwnd(), WM_SETICON, ICON_BIG, big);
        ::SendMessage(hwnd(), WM_SETICON, ICON_SMALL, small);
    }
    // Translucent before it is first shown, so that it never flashes black.
    SetLayered(hwnd(), true);
    if (owner && ::IsZoomed(owner)) {
        ::ShowWindow(hwnd(), SW_MAXIMIZE);
    } else if (owner) {
        RECT cover;
        ::GetWindowRect(owner, &cover);
        ::SetWindowPos(hwnd(), nullptr, cover.left, cover.top, cover.right - cover.left,
                       cover.bottom - cover.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Up before the inner dialog starts: the dialog manager would show a modal dialog only once
    // its queue is idle, which a busy machine's timer can beat.
    ::ShowWindow(hwnd(), ::IsZoomed(hwnd()) ? SW_SHOWMAXIMIZED : SW_SHOW);
    ::UpdateWindow(hwnd());
    SetTimer(kRunTimer, 10);
    return TRUE;
}

void CLayeredDlg::OnRunTimer() {
    KillTimer(kRunTimer);
    INT_PTR result = IDOK;
    if (inner_) {
        result = inner_->DoModal(hwnd()) == IDOK ? IDOK : IDCANCEL;
    } else {
        update::RunUpdateDialog();
    }
    EndDialog(result);
    SetLayered(hwnd(), false);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

INT_PTR RunInVeil(controls::CDialog* inner, HWND owner) {
    if (controls::PageHost* host = controls::CurrentPageHost()) {
        owner = host->Window();
    }
    CLayeredDlg veil(inner);
    const INT_PTR result = veil.DoModal(owner);
    // A veil that could not be made still runs what it was meant to show.
    if (result == -1) {
        if (!inner) {
            update::RunUpdateDialog();
            return IDOK;
        }
        return inner->DoModal(owner) == IDOK ? IDOK : IDCANCEL;
    }
    return result;
}

}  // namespace shell
