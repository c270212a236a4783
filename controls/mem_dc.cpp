#include "controls/mem_dc.h"

namespace controls {

CMemDC::CMemDC(HDC target, const RECT* rect) : target_(target) {
    if (rect) {
        rect_ = *rect;
    } else {
        ::GetClipBox(target, &rect_);
    }
    memory_ = ::CreateCompatibleDC(target);
    if (!memory_) {
        return;  // draws straight onto the target instead
    }
    // The bitmap is made in device units of the target's mapping mode.
    RECT device = rect_;
    ::LPtoDP(target, reinterpret_cast<POINT*>(&device), 2);
    bitmap_.reset(
        ::CreateCompatibleBitmap(target, device.right - device.left, device.bottom - device.top));
    if (!bitmap_) {
        ::DeleteDC(memory_);
        memory_ = nullptr;
        return;
    }
    oldBitmap_ = ::SelectObject(memory_, bitmap_.get());
    ::SetMapMode(memory_, ::GetMapMode(target));
    SIZE extent;
    ::GetWindowExtEx(target, &extent);
    ::SetWindowExtEx(memory_, extent.cx, extent.cy, nullptr);
    ::GetViewportExtEx(target, &extent);
    ::SetViewportExtEx(memory_, extent.cx, extent.cy, nullptr);
    ::SetWindowOrgEx(memory_, rect_.left, rect_.top, nullptr);
    platform::unique_hbrush background(::CreateSolidBrush(::GetBkColor(target)));
    ::FillRect(memory_, &rect_, background.get());
}

CMemDC::~CMemDC() {
    if (!memory_) {
        return;
    }
    ::BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top,
             memory_, rect_.left, rect_.top, SRCCOPY);
    ::SelectObject(memory_, oldBitmap_);
    ::DeleteDC(memory_);
}

}  // namespace controls
