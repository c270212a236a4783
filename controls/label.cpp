#include "controls/label.h"

#include "controls/hand_cursor.h"
#include "controls/mem_dc.h"

#include <shellapi.h>

#include <algorithm>
#include <cmath>

namespace controls {

CLabel::CLabel()
    : textColour_(::GetSysColor(COLOR_WINDOWTEXT)),
      hoverColour_(textColour_),
      background_(::GetSysColor(COLOR_3DFACE)),
      brush_(::CreateSolidBrush(background_)) {}

CLabel::~CLabel() {
    if (hwnd()) {
        ::KillTimer(hwnd(), kFlashTimer);
    }
}

void CLabel::OnSubclassed() {
    HFONT current = reinterpret_cast<HFONT>(::SendMessage(hwnd(), WM_GETFONT, 0, 0));
    if (!current || !::GetObject(current, sizeof logFont_, &logFont_)) {
        ::GetObject(::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont_, &logFont_);
    }
    RebuildFont();
}

tstring CLabel::text() const { return WindowText(hwnd()); }

void CLabel::RebuildFont() { font_.reset(::CreateFontIndirect(&logFont_)); }

CLabel& CLabel::Repaint() {
    if (!hwnd()) {
        return *this;
    }
    if (transparent_) {
        // What shows through is the parent's: it must paint that part again first.
        RECT r;
        ::GetWindowRect(hwnd(), &r);
        HWND parent = ::GetParent(hwnd());
        ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        ::InvalidateRect(parent, &r, TRUE);
    }
    ::InvalidateRect(hwnd(), nullptr, TRUE);
    return *this;
}

// which: GWL_STYLE or GWL_EXSTYLE.
void CLabel::SetStyleBit(int which, DWORD bit, bool on) {
    if (!hwnd()) {
        return;
    }
    const LONG_PTR style = ::GetWindowLongPtr(hwnd(), which);
    ::SetWindowLongPtr(hwnd(), which, on ? (style | bit) : (style & ~LONG_PTR(bit)));
    ::SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

CLabel& CLabel::SetBkColor(COLORREF colour, COLORREF second, bool gradient) {
    background_ = colour;
    background2_ = second;
    gradient_ = gradient;
    if (gradient) {
        brush_.reset();
    } else {
        brush_.reset(::CreateSolidBrush(colour));
    }
    return Repaint();
}

CLabel& CLabel::SetTextColor(COLORREF colour) {
    textColour_ = colour;
    return Repaint();
}

CLabel& CLabel::SetText(const tstring& text) {
    if (hwnd()) {
        ::SetWindowText(hwnd(), text.c_str());
    }
    return Repaint();
}

CLabel& CLabel::SetFontBold(bool bold) {
    logFont_.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    RebuildFont();
    return Repaint();
}

CLabel& CLabel::SetFontName(const tstring& face, BYTE charSet) {
    lstrcpyn(logFont_.lfFaceName, face.c_str(), LF_FACESIZE);
    logFont_.lfCharSet = charSet;
    RebuildFont();
    return Repaint();
}

CLabel& CLabel::SetFontUnderline(bool underline) {
    logFont_.lfUnderline = underline ? TRUE : FALSE;
    RebuildFont();
    return Repaint();
}

CLabel& CLabel::SetFontItalic(bool italic) {
    logFont_.lfItalic = italic ? TRUE : FALSE;
    RebuildFont();
    return Repaint();
}

CLabel& CLabel::SetFontSize(int points) {
    // The height of a font made at points x 10 tenth-points in the current face, as the
    // screen measures it.
    HDC screen = ::GetDC(nullptr);
    logFont_.lfHeight = -::MulDiv(points, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    RebuildFont();
    return Repaint();
}

CLabel& CLabel::SetSunken(bool sunken) {
    SetStyleBit(GWL_EXSTYLE, WS_EX_STATICEDGE, sunken);
    return Repaint();
}

CLabel& CLabel::SetBorder(bool border) {
    SetStyleBit(GWL_STYLE, WS_BORDER, border);
    return Repaint();
}

CLabel& CLabel::SetTransparent(bool transparent) {
    transparent_ = transparent;
    SetStyleBit(GWL_EXSTYLE, WS_EX_TRANSPARENT, transparent);
    return Repaint();
}

CLabel& CLabel::SetFlash(FlashMode mode, bool on) {
    if (hwnd()) {
        ::KillTimer(hwnd(), kFlashTimer);
    }
    flashShown_ = true;
    flash_ = on ? mode : kFlashNone;
    if (on && hwnd()) {
        ::SetTimer(hwnd(), kFlashTimer, kFlashPeriodMs, nullptr);
    }
    return Repaint();
}

CLabel& CLabel::FlashText(bool on) { return SetFlash(kFlashText, on); }
CLabel& CLabel::FlashBackground(bool on) { return SetFlash(kFlashBackground, on); }

CLabel& CLabel::SetLinkMode(LinkMode mode, bool notifyParent) {
    linkMode_ = mode;
    notifyParent_ = notifyParent;
    if (mode != kLinkNone) {
        SetStyleBit(GWL_STYLE, SS_NOTIFY, true);  // a static gets no clicks without it
    }
    return Repaint();
}

CLabel& CLabel::SetLink(bool on, bool notifyParent) {
    return SetLinkMode(on ? kLinkWeb : kLinkNone, notifyParent);
}

CLabel& CLabel::SetLinkCursor(HCURSOR cursor) {
    linkCursor_ = cursor;
    return *this;
}

CLabel& CLabel::SetText3D(bool on, Offset3D offset) {
    text3D_ = on;
    offset3D_ = offset;
    return Repaint();
}

CLabel& CLabel::SetRotationAngle(int degrees) {
    logFont_.lfEscapement = degrees * 10;
    logFont_.lfOrientation = degrees * 10;
    RebuildFont();
    return Repaint();
}

CLabel& CLabel::SetTextHoverColor(COLORREF colour) {
    hoverColour_ = colour;
    return Repaint();
}

CLabel& CLabel::SetFont(const LOGFONT& font) {
    logFont_ = font;
    RebuildFont();
    return Repaint();
}

CLabel& CLabel::SetMailLink(bool on, bool notifyParent) {
    return SetLinkMode(on ? kLinkMail : kLinkNone, notifyParent);
}

CLabel& CLabel::SetLinkTarget(const tstring& target) {
    linkTarget_ = target;
    return *this;
}

CLabel::ClickAction CLabel::ClickActionNow() const {
    ClickAction action;
    if (notifyParent_) {
        action.notifyParent = true;
    } else if (linkMode_ == kLinkWeb) {
        action.verb = TEXT("open");
        action.target = linkTarget_.empty() ? text() : linkTarget_;
    } else if (linkMode_ == kLinkMail) {
        // A mail link always writes to the address it shows.
        action.target = TEXT("mailto:") + text();
    }
    return action;
}

void CLabel::OnClick() const {
    const ClickAction action = ClickActionNow();
    if (action.notifyParent) {
        NMHDR header{hwnd(), static_cast<UINT_PTR>(id()), kLabelClicked};
        ::SendMessage(::GetParent(hwnd()), WM_NOTIFY, header.idFrom,
                      reinterpret_cast<LPARAM>(&header));
    } else if (!action.target.empty()) {
        ::ShellExecute(nullptr, action.verb.empty() ? nullptr : action.verb.c_str(),
                       action.target.c_str(), nullptr, nullptr, action.show);
    }
}

void CLabel::PaintBackground(HDC dc, const RECT& client) const {
    if (!gradient_) {
        ::FillRect(dc, &client, brush_.get());
        return;
    }
    // Left to right from the first colour to the second.
    const int width = client.right - client.left;
    for (int x = 0; x < width; ++x) {
        auto mix = [&](int a, int b) {
            return static_cast<BYTE>(a + (b - a) * x / std::max(1, width - 1));
        };
        platform::unique_hbrush band(
            ::CreateSolidBrush(RGB(mix(GetRValue(background_), GetRValue(background2_)),
                                   mix(GetGValue(background_), GetGValue(background2_)),
                                   mix(GetBValue(background_), GetBValue(background2_)))));
        RECT line{client.left + x, client.top, client.left + x + 1, client.bottom};
        ::FillRect(dc, &line, band.get());
    }
}

void CLabel::PaintText(HDC dc, const RECT& client, COLORREF colour, int dx, int dy) const {
    const std::wstring shown = GdiText(text());
    ::SetTextColor(dc, colour);
    if (logFont_.lfEscapement != 0) {
        // Rotated text turns around the centre of the control.
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &extent);
        const double angle = logFont_.lfEscapement / 10.0 * 3.14159265358979 / 180.0;
        const double cx = (client.left + client.right) / 2.0,
                     cy = (client.top + client.bottom) / 2.0;
        const double x = cx - std::cos(angle) * extent.cx / 2.0 - std::sin(angle) * extent.cy / 2.0;
        const double y = cy + std::sin(angle) * extent.cx / 2.0 - std::cos(angle) * extent.cy / 2.0;
        ::SetTextAlign(dc, TA_LEFT | TA_TOP);
        ::TextOutW(dc, static_cast<int>(x) + dx, static_cast<int>(y) + dy, shown.c_str(),
                   static_cast<int>(shown.size()));
        return;
    }
    const LONG_PTR style = ::GetWindowLongPtr(hwnd(), GWL_STYLE);
    UINT format = DT_NOPREFIX;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER; break;
    case SS_RIGHT: format |= DT_RIGHT; break;
    default: format |= DT_LEFT;
    }
    if (shown.find_first_of(L"\t\n") != std::wstring::npos) {
        format |= DT_WORDBREAK | DT_EXPANDTABS;
    } else {
        format |= DT_SINGLELINE | ((style & SS_CENTERIMAGE) ? DT_VCENTER : 0);
    }
    RECT r = client;
    ::OffsetRect(&r, dx, dy);
    ::DrawTextW(dc, shown.c_str(), -1, &r, format);
}

void CLabel::Paint(HDC dc, const RECT& client) {
    ::SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = ::SelectObject(dc, font_.get());
    if (!transparent_ && !(flash_ == kFlashBackground && !flashShown_)) {
        PaintBackground(dc, client);
    }
    if (!(flash_ == kFlashText && !flashShown_)) {
        if (text3D_) {
            const int offset = offset3D_ == kRaised ? 1 : -1;
            PaintText(dc, client, ::GetSysColor(COLOR_3DHILIGHT), offset, offset);
        }
        PaintText(dc, client, isHovered() && linkMode_ != kLinkNone ? hoverColour_ : textColour_, 0,
                  0);
    }
    ::SelectObject(dc, oldFont);
}

LRESULT CLabel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(hwnd(), &ps);
        RECT client;
        ::GetClientRect(hwnd(), &client);
        if (transparent_) {
            Paint(dc, client);
        } else {
            CMemDC memory(dc, &client);
            Paint(memory, client);
        }
        ::EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_ERASEBKGND: return TRUE;
    case WM_SETTEXT: {
        const LRESULT result = Default(message, wParam, lParam);
        Repaint();
        return result;
    }
    case WM_TIMER:
        if (wParam == kFlashTimer) {
            flashShown_ = !flashShown_;
            Repaint();
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        if (linkMode_ != kLinkNone && TrackHover(message)) {
            return 0;
        }
        break;
    case WM_SETCURSOR:
        if (linkMode_ != kLinkNone) {
            ::SetCursor(linkCursor_ ? linkCursor_ : HandCursor());
            return TRUE;
        }
        break;
    case WM_LBUTTONUP: {
        const LRESULT result = Default(message, wParam, lParam);
        OnClick();
        return result;
    }
    }
    return CSubclassedWindow::WindowProc(message, wParam, lParam);
}

}  // namespace controls
