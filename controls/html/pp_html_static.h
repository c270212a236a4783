#pragma once
// A static control that shows markup: it subclasses a static of a dialog template, paints
// through a memory bitmap and switches links between "a:link" and "a:hover" under the mouse.

#include "controls/html/pp_html_drawer.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace controls::html {

class CPPHtmlStatic {
  public:
    CPPHtmlStatic() = default;
    CPPHtmlStatic(const CPPHtmlStatic&) = delete;
    CPPHtmlStatic& operator=(const CPPHtmlStatic&) = delete;
    ~CPPHtmlStatic();

    // Takes over the static: its text becomes the markup and its font the "body" rule.
    bool SubclassWindow(HWND control);
    bool SubclassDlgItem(HWND dialog, int id) { return SubclassWindow(::GetDlgItem(dialog, id)); }
    void UnsubclassWindow();
    HWND Hwnd() const { return hwnd_; }

    void SetWindowText(const std::string& markup);
    CPPHtmlDrawer& Drawer() { return drawer_; }
    const CPPHtmlDrawer& Drawer() const { return drawer_; }

    // The style rules made from a font (the window-text colour, blue links).
    static std::string BodyRuleFor(const LOGFONTA& font, int pixelsPerInchY, COLORREF textColor);
    static std::string LinkRules();

  private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnFontChanged(HFONT font);
    void Relayout();
    void OnPaint();

    HWND hwnd_ = nullptr;
    CPPHtmlDrawer drawer_;
    bool trackingMouse_ = false;
};

}  // namespace controls::html
