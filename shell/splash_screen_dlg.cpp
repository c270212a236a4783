#include "shell/splash_screen_dlg.h"

#include "res/art_ids.h"
#include "shell/monitor.h"

namespace shell {

namespace {
constexpr UINT_PTR kCloseTimer = 100;
// Timer messages come after paint messages: this one fires once the splash is drawn.
constexpr UINT_PTR kWorkTimer = 101;
constexpr UINT kShownMs = 1000;
}  // namespace

CSplashScreenDlg::CSplashScreenDlg(std::function<void()> whileShown)
    : DialogImpl(IDD_SPLASH_SCREEN, RGB(240, 240, 240)), whileShown_(std::move(whileShown)) {}

const controls::MessageTable<CSplashScreenDlg>& CSplashScreenDlg::Messages() {
    static const controls::MessageTable<CSplashScreenDlg> table = {
        controls::OnMessage(WM_INITDIALOG, &CSplashScreenDlg::OnInitDialog),
        controls::OnMessage(WM_ERASEBKGND, &CSplashScreenDlg::OnEraseBackground),
        controls::OnTimer(kCloseTimer, &CSplashScreenDlg::OnCloseTimer),
        controls::OnTimer(kWorkTimer, &CSplashScreenDlg::OnWorkTimer),
    };
    return table;
}

LRESULT CSplashScreenDlg::OnInitDialog(WPARAM, LPARAM) {
    // A name for the window lists (and the screenshot tour); the splash has no caption.
    ::SetWindowTextA(hwnd(), "Velbrook Splash");
    bitmap_.reset(::LoadBitmap(::GetModuleHandle(nullptr), MAKEINTRESOURCE(art::kSplashBitmap)));
    // The window is exactly the picture, centred on the work area.
    if (bitmap_) {
        BITMAP info{};
        ::GetObject(bitmap_.get(), sizeof info, &info);
        RECT work{};
        ::SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
        ::SetWindowPos(hwnd(), HWND_TOP, work.left + (work.right - work.left - info.bmWidth) / 2,
                       work.top + (work.bottom - work.top - info.bmHeight) / 2, info.bmWidth,
                       info.bmHeight, SWP_NOACTIVATE);
    }
    // Shown here without taking the activation (the dialog manager would show it active):
    // under Wine without a window manager, ending an activated splash took 2 s more, by which
    // the main window came later.
    ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
    SetTimer(kCloseTimer, kShownMs);
    if (whileShown_) {
        SetTimer(kWorkTimer, USER_TIMER_MINIMUM);
    }
    return TRUE;
}

LRESULT CSplashScreenDlg::OnEraseBackground(WPARAM dc, LPARAM) {
    if (!bitmap_) {
        SetMsgHandled(false);
        return 0;
    }
    const HDC target = reinterpret_cast<HDC>(dc);
    platform::unique_hdc memory(::CreateCompatibleDC(target));
    const HGDIOBJ old = ::SelectObject(memory.get(), bitmap_.get());
    BITMAP info{};
    ::GetObject(bitmap_.get(), sizeof info, &info);
    ::BitBlt(target, 0, 0, info.bmWidth, info.bmHeight, memory.get(), 0, 0, SRCCOPY);
    ::SelectObject(memory.get(), old);
    return TRUE;
}

void CSplashScreenDlg::OnWorkTimer() {
    KillTimer(kWorkTimer);
    ::UpdateWindow(hwnd());
    whileShown_();
}

void CSplashScreenDlg::OnCloseTimer() {
    KillTimer(kCloseTimer);
    StartMonitorPass(hwnd());
    EndDialog(IDOK);
}

}  // namespace shell
