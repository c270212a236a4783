#include "controls/html/pp_html_static.h"

#include "platform/gdi_select.h"
#include "platform/unique_any.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace controls::html {
namespace {

// BeginPaint and EndPaint as one scope.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : window_(hwnd) { dc_ = ::BeginPaint(hwnd, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { ::EndPaint(window_, &ps_); }
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// The window's text in the ANSI code page, whether the window is an 8-bit or a UTF-16 one.
std::string WindowTextOf(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    text.resize(static_cast<size_t>(
        std::max(::GetWindowTextA(window, text.data(), static_cast<int>(text.size())), 0)));
    return text;
}

}  // namespace

std::string CPPHtmlStatic::BodyRuleFor(const LOGFONTA& font, int pixelsPerInchY,
                                       COLORREF textColor) {
    const int dpi = pixelsPerInchY > 0 ? pixelsPerInchY : 96;
    int points = ::MulDiv(std::abs(font.lfHeight), 72, dpi);
    if (points <= 0) {
        points = 10;
    }
    char face[LF_FACESIZE + 1] = {};
    std::snprintf(face, sizeof(face), "%s", font.lfFaceName);
    char rule[160];
    std::snprintf(rule, sizeof(rule),
                  "font-size:%dpt; color:0x%06lX; font-family:%s; font-weight:%ld", points,
                  static_cast<unsigned long>(textColor), face, static_cast<long>(font.lfWeight));
    std::string body = "body {" + std::string(rule);
    if (font.lfItalic) {
        body += "; font-style:italic";
    }
    return body + "}";
}

std::string CPPHtmlStatic::LinkRules() {
    char color[64];
    std::snprintf(color, sizeof(color), "color:0x%06X; text-decoration:", 0xff0000u);
    return std::string("a:link {") + color + "none}\na:hover {" + color + "underline}";
}

CPPHtmlStatic::~CPPHtmlStatic() {
    // The window may outlive this object; its own procedure has no use for our ticks.
    if (hwnd() && timerMs_) {
        ::KillTimer(hwnd(), kAnimationTimer);
    }
}

void CPPHtmlStatic::OnSubclassed() {
    const HWND control = hwnd();
    // Without SS_NOTIFY a static lets the mouse through to its parent.
    ::SetWindowLongPtrA(control, GWL_STYLE, ::GetWindowLongPtrA(control, GWL_STYLE) | SS_NOTIFY);
    drawer_.SetCallbackHyperlink(::GetParent(control), 0);
    OnFontChanged(reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    drawer_.SetText(WindowTextOf(control));
    Relayout();
}

void CPPHtmlStatic::SetWindowText(const std::string& markup) {
    if (hwnd()) {
        ::SetWindowTextA(hwnd(), markup.c_str());  // WM_SETTEXT below takes it over
    } else {
        drawer_.SetText(markup);
    }
}

LRESULT CPPHtmlStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = this->hwnd();
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;  // the memory bitmap paints the background
    case WM_SETTEXT: {
        const LRESULT result = Default(message, wParam, lParam);
        // Read back, not taken from lParam: a static of common controls 6 is a UTF-16 window,
        // so what arrives here may be a wide string.
        drawer_.SetText(WindowTextOf(hwnd));
        Relayout();
        ::InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    case WM_SETFONT: {
        const LRESULT result = Default(message, wParam, lParam);
        OnFontChanged(reinterpret_cast<HFONT>(wParam));
        Relayout();
        if (LOWORD(lParam)) {
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        return result;
    }
    case WM_SIZE:
        Relayout();
        ::InvalidateRect(hwnd, nullptr, FALSE);
        break;
    case WM_TIMER:
        if (wParam != kAnimationTimer) {
            break;
        }
        // Timer messages are not queued up, so the period stands for the time gone by.
        if (timerMs_ > 0 && drawer_.AdvanceAnimation(timerMs_)) {
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        ArmAnimationTimer();
        return 0;
    case WM_DESTROY:
        if (timerMs_) {
            ::KillTimer(hwnd, kAnimationTimer);
            timerMs_ = 0;
        }
        break;
    case WM_MOUSEMOVE: {
        if (!trackingMouse_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
            trackingMouse_ = ::TrackMouseEvent(&track) != FALSE;
        }
        const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (drawer_.OnMouseMove(pt)) {
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    }
    case WM_MOUSELEAVE:
        trackingMouse_ = false;
        if (drawer_.OnMouseLeave()) {
            ::InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case WM_SETCURSOR:
        if (drawer_.HoveredLink() >= 0 && drawer_.HandCursor()) {
            ::SetCursor(drawer_.HandCursor());
            return TRUE;
        }
        break;
    case WM_LBUTTONUP: {
        const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const int area = drawer_.PtInHyperlink(pt);
        if (area >= 0) {
            drawer_.JumpToHyperlink(area);
            return 0;
        }
        break;
    }
    default: break;
    }
    return Default(message, wParam, lParam);
}

void CPPHtmlStatic::OnFontChanged(HFONT font) {
    LOGFONTA lf{};
    if (!font || !::GetObjectA(font, sizeof(lf), &lf)) {
        return;
    }
    platform::unique_hdc screen(::CreateCompatibleDC(nullptr));
    const int dpi = screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 96;
    drawer_.AddCssStyles(BodyRuleFor(lf, dpi, ::GetSysColor(COLOR_WINDOWTEXT)) + "\n" +
                         LinkRules());
}

void CPPHtmlStatic::Relayout() {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    drawer_.PrepareOutput(client.right - client.left);
    ArmAnimationTimer();  // a new text or layout may have other pictures
}

void CPPHtmlStatic::ArmAnimationTimer() {
    const int interval = drawer_.AnimationInterval();
    if (interval == timerMs_) {
        return;
    }
    if (interval > 0) {
        // The same id again changes the period of a running timer.
        timerMs_ = ::SetTimer(hwnd(), kAnimationTimer, static_cast<UINT>(interval), nullptr)
                       ? interval
                       : 0;
    } else {
        ::KillTimer(hwnd(), kAnimationTimer);
        timerMs_ = 0;
    }
}

void CPPHtmlStatic::OnPaint() {
    PaintScope paint(hwnd());
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    const int w = client.right - client.left, h = client.bottom - client.top;
    if (!paint.dc() || w <= 0 || h <= 0) {
        return;
    }
    platform::unique_hdc memory(::CreateCompatibleDC(paint.dc()));
    platform::unique_hbitmap bitmap(::CreateCompatibleBitmap(paint.dc(), w, h));
    if (!memory || !bitmap) {
        return;
    }
    platform::SelectedObject selectBitmap(memory.get(), bitmap.get());
    // The parent chooses the background, as for any static.
    HBRUSH background = reinterpret_cast<HBRUSH>(
        ::SendMessageA(::GetParent(hwnd()), WM_CTLCOLORSTATIC,
                       reinterpret_cast<WPARAM>(memory.get()), reinterpret_cast<LPARAM>(hwnd())));
    ::FillRect(memory.get(), &client, background ? background : ::GetSysColorBrush(COLOR_BTNFACE));
    drawer_.DrawPreparedOutput(memory.get(), client);
    ::BitBlt(paint.dc(), 0, 0, w, h, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace controls::html
