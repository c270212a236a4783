#include "controls/subclassed_window.h"

#include <commctrl.h>

namespace controls {

namespace {
constexpr UINT_PTR kSubclassId = 0x56424B;  // one subclass of ours per control
}

CSubclassedWindow::~CSubclassedWindow() { Unsubclass(); }

bool CSubclassedWindow::SubclassDlgItem(UINT id, HWND dialog) {
    HWND control = ::GetDlgItem(dialog, static_cast<int>(id));
    return control && Subclass(control);
}

bool CSubclassedWindow::Subclass(HWND window) {
    Unsubclass();
    if (!::SetWindowSubclass(window, SubclassProc, kSubclassId,
                             reinterpret_cast<DWORD_PTR>(this))) {
        return false;
    }
    hwnd_ = window;
    OnSubclassed();
    return true;
}

void CSubclassedWindow::Unsubclass() {
    if (hwnd_) {
        ::RemoveWindowSubclass(hwnd_, SubclassProc, kSubclassId);
        hwnd_ = nullptr;
    }
}

void CSubclassedWindow::Invalidate() const {
    if (hwnd_) {
        ::InvalidateRect(hwnd_, nullptr, TRUE);
    }
}

bool CSubclassedWindow::TrackHover(UINT message) {
    if (message == WM_MOUSEMOVE && !hover_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
        ::TrackMouseEvent(&track);
        hover_ = true;
        OnHoverChanged();
    } else if (message == WM_MOUSELEAVE) {
        hover_ = false;
        OnHoverChanged();
        return true;
    }
    return false;
}

LRESULT CSubclassedWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return Default(message, wParam, lParam);
}

LRESULT CSubclassedWindow::Default(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefSubclassProc(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CSubclassedWindow::SubclassProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR refData) {
    auto* self = reinterpret_cast<CSubclassedWindow*>(refData);
    if (message == WM_NCDESTROY) {
        // The window goes first: no call may reach the object through it afterwards.
        self->Unsubclass();
        return ::DefSubclassProc(window, message, wParam, lParam);
    }
    return self->WindowProc(message, wParam, lParam);
}

}  // namespace controls

namespace controls {
namespace {
// The 64-bit import library of mingw-w64 lacks GetWindowSubclass; comctl32 exports it by name.
using GetWindowSubclassFn = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
GetWindowSubclassFn GetWindowSubclassEntry() {
    static const auto entry = reinterpret_cast<GetWindowSubclassFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("comctl32.dll"), "GetWindowSubclass")));
    return entry;
}
}  // namespace

bool IsOurControl(HWND window) {
    DWORD_PTR ref = 0;
    const auto getSubclass = GetWindowSubclassEntry();
    return window && getSubclass &&
           getSubclass(window, CSubclassedWindow::SubclassProcAddress(), kSubclassId, &ref);
}
}  // namespace controls
