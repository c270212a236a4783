#include "controls/control_pos.h"

#include <algorithm>

namespace controls {

namespace {
SIZE ClientSize(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return SIZE{client.right - client.left, client.bottom - client.top};
}
}  // namespace

void CControlPos::SetParent(HWND parent) {
    parent_ = parent;
    registeredSize_ = ClientSize(parent);
    controls_.clear();
}

bool CControlPos::AddControl(HWND control, UINT flags) {
    if (!parent_ || !control) {
        return false;
    }
    RECT placed{};
    ::GetWindowRect(control, &placed);
    ::MapWindowPoints(HWND_DESKTOP, parent_, reinterpret_cast<POINT*>(&placed), 2);
    controls_.push_back({control, flags, placed});
    return true;
}

bool CControlPos::AddControl(UINT id, UINT flags) {
    return AddControl(::GetDlgItem(parent_, static_cast<int>(id)), flags);
}

void CControlPos::SetMinimumSize(int width, int height) { minimumSize_ = SIZE{width, height}; }

void CControlPos::MoveControls() const {
    if (!parent_ || controls_.empty()) {
        return;
    }
    const SIZE now = ClientSize(parent_);
    const int dx = std::max(now.cx, minimumSize_.cx) - registeredSize_.cx;
    const int dy = std::max(now.cy, minimumSize_.cy) - registeredSize_.cy;
    HDWP batch = ::BeginDeferWindowPos(static_cast<int>(controls_.size()));
    for (const auto& c : controls_) {
        RECT r = c.placed;
        if (c.flags & kMoveWithRight) {
            r.left += dx;
            r.right += dx;
        }
        if (c.flags & kStretchWidth) {
            r.right += dx;
        }
        if (c.flags & kMoveWithBottom) {
            r.top += dy;
            r.bottom += dy;
        }
        if (c.flags & kStretchHeight) {
            r.bottom += dy;
        }
        const int width = std::max<int>(0, r.right - r.left);
        const int height = std::max<int>(0, r.bottom - r.top);
        if (batch) {
            batch = ::DeferWindowPos(batch, c.control, nullptr, r.left, r.top, width, height,
                                     SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            ::SetWindowPos(c.control, nullptr, r.left, r.top, width, height,
                           SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    if (batch) {
        ::EndDeferWindowPos(batch);
    }
    ::InvalidateRect(parent_, nullptr, TRUE);
}

}  // namespace controls
