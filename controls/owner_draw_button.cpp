#include "controls/owner_draw_button.h"

namespace controls {

void COwnerDrawButton::OnSubclassed() {
    const LONG_PTR style = ::GetWindowLongPtr(hwnd(), GWL_STYLE);
    ::SetWindowLongPtr(hwnd(), GWL_STYLE, (style & ~LONG_PTR(BS_TYPEMASK)) | BS_OWNERDRAW);
    Invalidate();
}

LRESULT COwnerDrawButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kReflectedBase + WM_DRAWITEM:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        if (TrackHover(message)) {
            return 0;
        }
        break;
    }
    return CSubclassedWindow::WindowProc(message, wParam, lParam);
}

}  // namespace controls
