#pragma once
// The drawing toolbox of the renderer: effect fills, borders, lines, and pictures drawn
// transparent or disabled.

#include "controls/html/fill_effects.h"
#include "controls/html/text_style.h"

#include <windows.h>
#include <commctrl.h>

#include <optional>

namespace controls::html {

class CPPDrawManager {
public:
    // Fills rect with the effect from begin over middle to end. Only the part inside the DC's
    // clip box is computed, so a huge rectangle costs no more than the visible one.
    void FillEffect(HDC dc, FillEffect effect, const RECT& rect, COLORREF begin, COLORREF middle,
                    COLORREF end) const;
    void FillSolid(HDC dc, const RECT& rect, COLORREF color) const;

    void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color, int penStyle = PS_SOLID,
                  int width = 1) const;
    // A frame width pixels thick, inside rect: light on the top and left, dark on the
    // bottom and right (the same colour twice for a flat frame).
    void DrawFrame(HDC dc, const RECT& rect, COLORREF light, COLORREF dark, BorderStyle style,
                   int width) const;

    // A bitmap at (x, y), stretched to width × height; pixels of the transparent colour are
    // left out; disabled draws it embossed in grey.
    void DrawBitmap(HDC dc, int x, int y, int width, int height, HBITMAP bitmap,
                    std::optional<COLORREF> transparent, bool disabled) const;
    void DrawIcon(HDC dc, int x, int y, int width, int height, HICON icon, bool disabled) const;
    void DrawImageListImage(HDC dc, int x, int y, HIMAGELIST list, int index, bool disabled) const;
    // Tiles rect with the bitmap.
    void TileBitmap(HDC dc, const RECT& rect, HBITMAP bitmap) const;

    static COLORREF Mix(COLORREF a, COLORREF b, int part, int whole);
    static COLORREF Lighten(COLORREF c, int percent);  // towards white
    static COLORREF Darken(COLORREF c, int percent);   // towards black
};

}  // namespace controls::html
