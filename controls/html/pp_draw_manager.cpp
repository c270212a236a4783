#include "controls/html/pp_draw_manager.h"

#include "platform/gdi_select.h"
#include "platform/unique_any.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace controls::html {
namespace {

constexpr double kPi = 3.14159265358979323846;

unsigned Channel(COLORREF c, int shift) { return (c >> shift) & 0xFF; }

COLORREF Scale(COLORREF c, double factor) {
    const auto one = [&](int shift) {
        const double v = Channel(c, shift) * factor;
        return static_cast<unsigned>(std::clamp(v, 0.0, 255.0));
    };
    return RGB(one(0), one(8), one(16));
}

// Brightness by factor above 1 mixes towards white, below 1 towards black.
COLORREF Shade(COLORREF c, double factor) {
    if (factor <= 1) {
        return Scale(c, factor);
    }
    const int part = static_cast<int>(std::clamp((factor - 1) * 100, 0.0, 100.0));
    return CPPDrawManager::Lighten(c, part);
}

// A colour from begin over middle to end, at t in [0, 1].
COLORREF Ramp3(COLORREF a, COLORREF m, COLORREF b, double t) {
    const int k = static_cast<int>(std::clamp(t, 0.0, 1.0) * 1000);
    return k < 500 ? CPPDrawManager::Mix(a, m, k, 500) : CPPDrawManager::Mix(m, b, k - 500, 500);
}

}  // namespace

COLORREF CPPDrawManager::Mix(COLORREF a, COLORREF b, int part, int whole) {
    if (whole <= 0) {
        return a;
    }
    const auto one = [&](int shift) {
        const int ca = static_cast<int>(Channel(a, shift));
        const int cb = static_cast<int>(Channel(b, shift));
        return static_cast<unsigned>(ca + (cb - ca) * part / whole);
    };
    return RGB(one(0), one(8), one(16));
}

COLORREF CPPDrawManager::Lighten(COLORREF c, int percent) {
    return Mix(c, RGB(255, 255, 255), percent, 100);
}
COLORREF CPPDrawManager::Darken(COLORREF c, int percent) {
    return Mix(c, RGB(0, 0, 0), percent, 100);
}

void CPPDrawManager::FillSolid(HDC dc, const RECT& rect, COLORREF color) const {
    platform::unique_hbrush brush(::CreateSolidBrush(color & 0xFFFFFF));
    ::FillRect(dc, &rect, brush.get());
}

void CPPDrawManager::FillEffect(HDC dc, html::FillEffect effect, const RECT& rect, COLORREF begin,
                                COLORREF middle, COLORREF end) const {
    begin &= 0xFFFFFF;
    middle &= 0xFFFFFF;
    end &= 0xFFFFFF;
    if (effect == html::FillEffect::Transparent || rect.right <= rect.left ||
        rect.bottom <= rect.top) {
        return;
    }
    if (effect == html::FillEffect::Solid) {
        FillSolid(dc, rect, begin);
        return;
    }
    RECT clip{};
    if (::GetClipBox(dc, &clip) == ERROR) {
        return;
    }
    RECT part{};
    if (!::IntersectRect(&part, &rect, &clip)) {
        return;
    }
    const int w = rect.right - rect.left;
    const int h = rect.bottom - rect.top;
    const int pw = part.right - part.left;
    const int ph = part.bottom - part.top;
    std::vector<std::uint32_t> pixels(static_cast<size_t>(pw) * static_cast<size_t>(ph));
    std::uint32_t noise = 0x9E3779B9u;
    for (int py = 0; py < ph; ++py) {
        const int y = part.top - rect.top + py;
        const double ty = h > 1 ? static_cast<double>(y) / (h - 1) : 0;
        for (int px = 0; px < pw; ++px) {
            const int x = part.left - rect.left + px;
            const double tx = w > 1 ? static_cast<double>(x) / (w - 1) : 0;
            COLORREF c = begin;
            switch (effect) {
            case html::FillEffect::HGradient:
                c = Ramp3(begin, Mix(begin, end, 1, 2), end, tx);
                break;
            case html::FillEffect::VGradient:
                c = Ramp3(begin, Mix(begin, end, 1, 2), end, ty);
                break;
            case html::FillEffect::HCGradient: c = Ramp3(begin, end, begin, tx); break;
            case html::FillEffect::VCGradient: c = Ramp3(begin, end, begin, ty); break;
            case html::FillEffect::H3Gradient: c = Ramp3(begin, middle, end, tx); break;
            case html::FillEffect::V3Gradient: c = Ramp3(begin, middle, end, ty); break;
            case html::FillEffect::Noise:
                noise ^= noise << 13;
                noise ^= noise >> 17;
                noise ^= noise << 5;
                c = Shade(begin, 0.85 + (noise % 31) / 100.0);
                break;
            case html::FillEffect::DiagShade:
                c = Mix(begin, end, x + y, w + h > 2 ? w + h - 2 : 1);
                break;
            case html::FillEffect::HShade: c = Shade(begin, 1.3 - 0.6 * ty); break;
            case html::FillEffect::VShade: c = Shade(begin, 1.3 - 0.6 * tx); break;
            case html::FillEffect::HBump: c = Shade(begin, 0.75 + 0.5 * std::sin(kPi * ty)); break;
            case html::FillEffect::VBump: c = Shade(begin, 0.75 + 0.5 * std::sin(kPi * tx)); break;
            case html::FillEffect::SoftBump:
                c = Shade(begin, 0.7 + 0.6 * std::sin(kPi * tx) * std::sin(kPi * ty));
                break;
            case html::FillEffect::HardBump: {
                // A raised panel: bright upper-left bevel, dark lower-right bevel.
                const int edge = std::max(2, std::min(w, h) / 6);
                if (x < edge || y < edge) {
                    c = (x < edge && y >= h - edge) || (y < edge && x >= w - edge)
                            ? begin
                            : Lighten(begin, 45);
                } else if (x >= w - edge || y >= h - edge) {
                    c = Darken(begin, 35);
                }
                break;
            }
            case html::FillEffect::Metal:
                c = Shade(begin, 0.9 + 0.15 * std::sin(tx * 9 + ty * 3) +
                                     0.05 * std::sin(static_cast<double>(x) * 1.7));
                break;
            case html::FillEffect::Transparent:
            case html::FillEffect::Solid: break;
            }
            // A top-down 32-bit DIB stores blue, green, red.
            pixels[static_cast<size_t>(py) * pw + px] =
                Channel(c, 16) | (Channel(c, 8) << 8) | (Channel(c, 0) << 16);
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = pw;
    info.bmiHeader.biHeight = -ph;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, part.left, part.top, static_cast<DWORD>(pw), static_cast<DWORD>(ph), 0,
                        0, 0, static_cast<UINT>(ph), pixels.data(), &info, DIB_RGB_COLORS);
}

void CPPDrawManager::DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int penStyle,
                              int width) const {
    platform::unique_hpen pen(::CreatePen(penStyle, width, color & 0xFFFFFF));
    platform::SelectedObject select(dc, pen.get());
    ::MoveToEx(dc, x1, y1, nullptr);
    ::LineTo(dc, x2, y2);
}

void CPPDrawManager::DrawFrame(HDC dc, const RECT& r, COLORREF light, COLORREF dark,
                               BorderStyle style, int width) const {
    if (style == BorderStyle::None || width <= 0) {
        return;
    }
    const int pen = style == BorderStyle::Dotted   ? PS_DOT
                    : style == BorderStyle::Dashed ? PS_DASH
                                                   : PS_SOLID;
    const int rings = style == BorderStyle::Double ? 2 : 1;
    const int step = style == BorderStyle::Double ? std::max(2, width) : 1;
    const int lines = style == BorderStyle::Double ? 1 : width;
    for (int ring = 0; ring < rings; ++ring) {
        for (int i = 0; i < lines; ++i) {
            const int d = ring * step + i;
            const int l = r.left + d, t = r.top + d, rr = r.right - 1 - d, b = r.bottom - 1 - d;
            if (rr < l || b < t) {
                return;
            }
            DrawLine(dc, l, b, l, t, light, pen);
            DrawLine(dc, l, t, rr, t, light, pen);
            DrawLine(dc, rr, t, rr, b, dark, pen);
            DrawLine(dc, rr, b, l - 1, b, dark, pen);
        }
    }
}

void CPPDrawManager::DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap,
                                std::optional<COLORREF> transparent, bool disabled) const {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof(info), &info)) {
        return;
    }
    if (disabled) {
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, x, y, width, height,
                     DST_BITMAP | DSS_DISABLED);
        return;
    }
    platform::unique_hdc source(::CreateCompatibleDC(dc));
    platform::SelectedObject select(source.get(), bitmap);
    if (transparent) {
        ::TransparentBlt(dc, x, y, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight,
                         *transparent & 0xFFFFFF);
    } else {
        ::SetStretchBltMode(dc, COLORONCOLOR);
        ::StretchBlt(dc, x, y, width, height, source.get(), 0, 0, info.bmWidth, info.bmHeight,
                     SRCCOPY);
    }
}

void CPPDrawManager::DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon,
                              bool disabled) const {
    if (!icon) {
        return;
    }
    if (disabled) {
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, width, height,
                     DST_ICON | DSS_DISABLED);
        return;
    }
    ::DrawIconEx(dc, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
}

void CPPDrawManager::DrawImageListImage(HDC dc, int x, int y, HIMAGELIST list, int index,
                                        bool disabled) const {
    if (!list || index < 0 || index >= ::ImageList_GetImageCount(list)) {
        return;
    }
    if (disabled) {
        platform::unique_hicon icon(::ImageList_GetIcon(list, index, ILD_TRANSPARENT));
        int cx = 0, cy = 0;
        ::ImageList_GetIconSize(list, &cx, &cy);
        DrawIcon(dc, x, y, cx, cy, icon.get(), true);
        return;
    }
    ::ImageList_Draw(list, index, dc, x, y, ILD_TRANSPARENT);
}

void CPPDrawManager::TileBitmap(HDC dc, const RECT& rect, HBITMAP bitmap) const {
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof(info), &info) || info.bmWidth <= 0 ||
        info.bmHeight <= 0) {
        return;
    }
    RECT clip{}, part{};
    if (::GetClipBox(dc, &clip) == ERROR || !::IntersectRect(&part, &rect, &clip)) {
        return;
    }
    platform::unique_hdc source(::CreateCompatibleDC(dc));
    platform::SelectedObject select(source.get(), bitmap);
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
    const int firstX = rect.left + (part.left - rect.left) / info.bmWidth * info.bmWidth;
    const int firstY = rect.top + (part.top - rect.top) / info.bmHeight * info.bmHeight;
    for (int y = firstY; y < part.bottom; y += info.bmHeight) {
        for (int x = firstX; x < part.right; x += info.bmWidth) {
            ::BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
        }
    }
    ::RestoreDC(dc, saved);
}

}  // namespace controls::html
