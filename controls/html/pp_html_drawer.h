#pragma once
// Lays out and paints a markup text into a device context, with clickable links.
// Parsing and layout happen in PrepareOutput; DrawPreparedOutput only paints.

#include "controls/hand_cursor.h"
#include "controls/html/gdi_text_measure.h"
#include "controls/html/html_layout.h"
#include "controls/html/picture_store.h"
#include "controls/html/pp_draw_manager.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace controls::html {

class CPPHtmlDrawer {
public:
    // Hover notifications carry this instead of a link when the mouse has left every link.
    static constexpr int kNoLink = -2;

    CPPHtmlDrawer();  // reads the system colours
    CPPHtmlDrawer(const CPPHtmlDrawer&) = delete;
    CPPHtmlDrawer& operator=(const CPPHtmlDrawer&) = delete;

    // The module whose resources "idres" names (the program by default).
    void SetResourceInstance(HINSTANCE instance);

    void SetText(std::string_view markup);
    const std::string& Text() const { return text_; }

    // The default style sheet followed by css; AddCssStyles appends to what there is.
    void SetCssStyles(std::string_view css = {});
    void AddCssStyles(std::string_view css);

    // "msg" links send message to window with the link's text as wParam (a const char*,
    // valid during the call) and userValue as lParam.
    void SetCallbackHyperlink(HWND window, UINT message, LPARAM userValue = 0);
    // Hover changes send message to window with the link's id as wParam, kNoLink on leaving.
    void SetCallbackHover(HWND window, UINT message);

    // Lays the text out for width pixels (0: lines unbroken); returns the size it needs.
    SIZE PrepareOutput(int width);
    void DrawPreparedOutput(HDC dc, const RECT& rect);

    // Image lists with a "speed" are animated: the milliseconds until the next frame is due
    // (0 when nothing moves; otherwise 20 ms to 60 s), and moving their clock on by elapsedMs.
    // True when a frame changed and the output must be repainted; the layout stays.
    int AnimationInterval() const { return pictures_.AnimationInterval(); }
    bool AdvanceAnimation(int elapsedMs) { return pictures_.AdvanceAnimation(elapsedMs); }

    // The link area under pt (in the coordinates of the last drawing), or -1.
    int PtInHyperlink(POINT pt) const;
    // Follows the link of the area; false when there is none or opening failed.
    bool JumpToHyperlink(int area);
    // Track the mouse; true when the hovered link changed and the output must be repainted.
    bool OnMouseMove(POINT pt);
    bool OnMouseLeave();
    int HoveredLink() const { return hoverLink_; }
    HCURSOR HandCursor() const { return controls::HandCursor(); }

    const Document& PreparedDocument() const { return document_; }
    const Layout& PreparedLayout() const { return layout_; }

private:
    void Rebuild();
    void SetHover(int link);
    void DrawOp(HDC dc, const html::DrawOp& op, int dx, int dy);

    ColorTable colors_;
    StyleSheet sheet_;
    GdiTextMeasure measure_;
    PictureStore pictures_;
    CPPDrawManager draw_;
    std::string text_;
    Document document_;
    Layout layout_;
    int width_ = 0;
    POINT origin_{0, 0};
    int hoverLink_ = -1;
    HWND linkWindow_ = nullptr;
    UINT linkMessage_ = 0;
    LPARAM linkUserValue_ = 0;
    HWND hoverWindow_ = nullptr;
    UINT hoverMessage_ = 0;
};

}  // namespace controls::html
