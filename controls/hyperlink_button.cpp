#include "controls/hyperlink_button.h"

#include "platform/own_module.h"

#include "controls/hand_cursor.h"

#include <algorithm>

namespace controls {

namespace {
constexpr int kBitmapGap = 4;
}

CHyperLinkButton::CHyperLinkButton(HINSTANCE resources)
    : resources_(platform::ResourceModule(resources)), background_(::GetSysColor(COLOR_3DFACE)) {
    SetFont(TEXT("Arial"), 14, false);
}

void CHyperLinkButton::SetFont(const tstring& face, int height, bool bold) {
    const int weight = bold ? FW_BOLD : FW_NORMAL;
    font_.reset(::CreateFont(-height, 0, 0, 0, weight, 0, FALSE, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                             face.c_str()));
    underlined_.reset(::CreateFont(-height, 0, 0, 0, weight, 0, TRUE, 0, DEFAULT_CHARSET, 0, 0, 0,
                                   0, face.c_str()));
    Invalidate();
}

void CHyperLinkButton::SetColors(COLORREF normal, COLORREF hover, COLORREF background) {
    normal_ = normal;
    hoverColour_ = hover;
    background_ = background;
    Invalidate();
}

bool CHyperLinkButton::SetBitmap(UINT id, COLORREF transparent) {
    bitmap_.reset(id ? ::LoadBitmap(resources_, MAKEINTRESOURCE(id)) : nullptr);
    bitmapTransparent_ = transparent;
    Invalidate();
    return id == 0 || bitmap_;
}

void CHyperLinkButton::SetTransparent(bool transparent) {
    transparent_ = transparent;
    Invalidate();
}

SIZE CHyperLinkButton::ContentSize() const {
    SIZE size{};
    HDC dc = ::GetDC(hwnd());
    if (!dc) {
        return size;
    }
    HGDIOBJ oldFont = ::SelectObject(dc, font_.get());
    const std::wstring caption = GdiText(WindowText(hwnd()));
    ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &size);
    ::SelectObject(dc, oldFont);
    ::ReleaseDC(hwnd(), dc);
    if (bitmap_) {
        BITMAP info{};
        ::GetObject(bitmap_.get(), sizeof info, &info);
        size.cx += info.bmWidth + kBitmapGap;
        size.cy = std::max(size.cy, static_cast<LONG>(info.bmHeight));
    }
    return size;
}

void CHyperLinkButton::Draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    if (!transparent_) {
        platform::unique_hbrush brush(::CreateSolidBrush(background_));
        ::FillRect(dc, &r, brush.get());
    }
    if (bitmap_) {
        BITMAP info{};
        ::GetObject(bitmap_.get(), sizeof info, &info);
        HDC source = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(source, bitmap_.get());
        const int top = r.top + ((r.bottom - r.top) - info.bmHeight) / 2;
        ::TransparentBlt(dc, r.left, top, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth,
                         info.bmHeight, bitmapTransparent_);
        ::SelectObject(source, old);
        ::DeleteDC(source);
        r.left += info.bmWidth + kBitmapGap;
    }
    const bool lit = isHovered() || (item.itemState & ODS_SELECTED);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, lit ? hoverColour_ : normal_);
    HGDIOBJ oldFont = ::SelectObject(dc, lit ? underlined_.get() : font_.get());
    const std::wstring caption = GdiText(WindowText(hwnd()));
    ::DrawTextW(dc, caption.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
}

LRESULT CHyperLinkButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETCURSOR: ::SetCursor(HandCursor()); return TRUE;
    }
    return COwnerDrawButton::WindowProc(message, wParam, lParam);
}

}  // namespace controls
