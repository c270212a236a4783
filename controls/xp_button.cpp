#include "controls/xp_button.h"

#include "platform/own_module.h"

#include "controls/mem_dc.h"

#include <shellapi.h>

#include <algorithm>

namespace controls {

namespace {
constexpr int kIconLeft = 12;
constexpr int kShieldSize = 16;
constexpr int kShieldLeft = 2;

platform::unique_hfont MakeFont(const tstring& face, int points, bool bold) {
    HDC screen = ::GetDC(nullptr);
    const int height = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    return platform::unique_hfont(::CreateFont(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, 0, 0, 0,
                                               DEFAULT_CHARSET, 0, 0, 0, 0, face.c_str()));
}

bool ProcessIsElevated() {
    platform::unique_handle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) {
        return false;
    }
    TOKEN_ELEVATION elevation{};
    DWORD length = 0;
    if (::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &length)) {
        return elevation.TokenIsElevated != 0;
    }
    // Systems without the elevation query: membership of the administrators group.
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID admins = nullptr;
    BOOL member = FALSE;
    if (::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                   0, 0, 0, 0, 0, &admins)) {
        ::CheckTokenMembership(nullptr, admins, &member);
        ::FreeSid(admins);
    }
    return member != FALSE;
}

HICON LoadShieldIcon() {
    OSVERSIONINFO version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionEx(&version) || version.dwMajorVersion < 6 || ProcessIsElevated()) {
        return nullptr;
    }
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof info;
    if (FAILED(::SHGetStockIconInfo(static_cast<SHSTOCKICONID>(77), SHGSI_ICON | SHGSI_SMALLICON,
                                    &info))) {
        return nullptr;
    }
    return info.hIcon;
}
}  // namespace

HICON ElevationShieldIcon() {
    static const HICON shield = LoadShieldIcon();
    return shield;
}

CXPButton::CXPButton(Variant variant, HINSTANCE resources)
    : variant_(variant),
      resources_(platform::ResourceModule(resources)),
      font_(MakeFont(TEXT("Arial"), 9, true)) {}

HBITMAP CXPButton::LoadFace(UINT id) const {
    if (id == 0) {
        return nullptr;
    }
    if (variant_ == kStretched && hwnd()) {
        RECT client;
        ::GetClientRect(hwnd(), &client);
        return static_cast<HBITMAP>(::LoadImage(resources_, MAKEINTRESOURCE(id), IMAGE_BITMAP,
                                                client.right, client.bottom, LR_DEFAULTCOLOR));
    }
    return ::LoadBitmap(resources_, MAKEINTRESOURCE(id));
}

bool CXPButton::SetBitmaps(UINT normalId, UINT hotId, UINT pressedId) {
    for (auto& b : bitmaps_) {
        b.reset();
    }
    bitmaps_[kFaceNormal].reset(LoadFace(normalId));
    bitmaps_[kFaceHot].reset(LoadFace(hotId));
    bitmaps_[kFacePressed].reset(LoadFace(pressedId));
    bitmapIds_ = {normalId, hotId, pressedId};
    Invalidate();
    return (normalId == 0 || bitmaps_[kFaceNormal]) && (hotId == 0 || bitmaps_[kFaceHot]) &&
           (pressedId == 0 || bitmaps_[kFacePressed]);
}

void CXPButton::SetIcon(HICON icon) {
    icon_ = icon;
    Invalidate();
}

void CXPButton::SetCaptionColors(COLORREF normal, COLORREF hot) {
    captionColour_ = normal;
    captionHotColour_ = hot;
    Invalidate();
}

void CXPButton::SetCaptionFont(const tstring& face, int points, bool bold) {
    font_ = MakeFont(face, points, bold);
    Invalidate();
}

void CXPButton::SetElevationShield(bool on) {
    shield_ = on && variant_ == kStretched;
    Invalidate();
}

CXPButton::Face CXPButton::FaceFor(UINT itemState, bool hover) {
    if (itemState & (ODS_SELECTED | ODS_DEFAULT)) {
        return kFacePressed;
    }
    if ((itemState & ODS_FOCUS) || hover) {
        return kFaceHot;
    }
    return kFaceNormal;
}

void CXPButton::FitToBitmap() const {
    BITMAP info{};
    if (!bitmaps_[kFaceNormal] || !::GetObject(bitmaps_[kFaceNormal].get(), sizeof info, &info)) {
        return;
    }
    RECT r{};
    ::GetWindowRect(hwnd(), &r);
    ::MapWindowPoints(nullptr, ::GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
    ::MoveWindow(hwnd(), r.right - info.bmWidth, r.bottom - info.bmHeight, info.bmWidth,
                 info.bmHeight, TRUE);
}

void CXPButton::Draw(const DRAWITEMSTRUCT& item) const {
    CMemDC dc(item.hDC, &item.rcItem);
    const RECT& r = item.rcItem;
    const Face face = FaceFor(item.itemState, isHovered());
    if (HBITMAP bitmap = bitmaps_[face].get()) {
        HDC source = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(source, bitmap);
        BITMAP info{};
        ::GetObject(bitmap, sizeof info, &info);
        ::BitBlt(dc, r.left, r.top, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
        ::SelectObject(source, old);
        ::DeleteDC(source);
    }
    const tstring caption = hwnd() ? WindowText(hwnd()) : tstring();
    if (!caption.empty()) {
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, face == kFaceNormal ? captionColour_ : captionHotColour_);
        HGDIOBJ oldFont = ::SelectObject(dc, font_.get());
        RECT text = r;
        if (face == kFacePressed) {
            ::OffsetRect(&text, 1, 1);
        }
        ::DrawText(dc, caption.c_str(), -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SelectObject(dc, oldFont);
    }
    const int height = r.bottom - r.top;
    if (icon_) {
        ICONINFO info{};
        int iconHeight = ::GetSystemMetrics(SM_CYICON);
        if (::GetIconInfo(icon_, &info)) {
            BITMAP mask{};
            ::GetObject(info.hbmMask, sizeof mask, &mask);
            iconHeight = info.hbmColor ? mask.bmHeight : mask.bmHeight / 2;
            ::DeleteObject(info.hbmMask);
            if (info.hbmColor) {
                ::DeleteObject(info.hbmColor);
            }
        }
        const int top = iconHeight > height ? r.top : r.top + (height - iconHeight) / 2;
        ::DrawIconEx(dc, r.left + kIconLeft, top, icon_, 0, 0, 0, nullptr, DI_NORMAL);
    }
    if (shield_) {
        if (HICON shield = ElevationShieldIcon()) {
            ::DrawIconEx(dc, r.left + kShieldLeft, r.top + std::max(0, (height - kShieldSize) / 2),
                         shield, kShieldSize, kShieldSize, 0, nullptr, DI_NORMAL);
        }
    }
}

LRESULT CXPButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: return TRUE;
    }
    return COwnerDrawButton::WindowProc(message, wParam, lParam);
}

void ShowButtonChosen(CXPButton& button, const art::ButtonBitmaps& bitmaps, bool chosen) {
    if (chosen) {
        button.SetBitmaps(bitmaps.pressed, bitmaps.pressed, bitmaps.pressed);
    } else {
        button.SetBitmaps(bitmaps);
    }
    ::InvalidateRect(button.hwnd(), nullptr, TRUE);
    ::UpdateWindow(button.hwnd());
}

}  // namespace controls
