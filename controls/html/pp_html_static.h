#pragma once
// A static control that shows markup: it subclasses a static of a dialog template, paints
// through a memory bitmap and switches links between "a:link" and "a:hover" under the mouse.

#include "controls/html/pp_html_drawer.h"
#include "controls/subclassed_window.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace controls::html {

// Take it over with SubclassDlgItem(id, dialog): its text becomes the markup and its font the
// "body" rule.
class CPPHtmlStatic : public controls::CSubclassedWindow {
  public:

    void SetWindowText(const std::string& markup);
    CPPHtmlDrawer& Drawer() { return drawer_; }
    const CPPHtmlDrawer& Drawer() const { return drawer_; }

    // The style rules made from a font (the window-text colour, blue links).
    static std::string BodyRuleFor(const LOGFONTA& font, int pixelsPerInchY, COLORREF textColor);
    static std::string LinkRules();

  protected:
    void OnSubclassed() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void OnFontChanged(HFONT font);
    void Relayout();
    void OnPaint();

    CPPHtmlDrawer drawer_;
    bool trackingMouse_ = false;
};

}  // namespace controls::html
