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
// "body" rule. Animated pictures run on a timer of the control (kAnimationTimer).
class CPPHtmlStatic : public controls::CSubclassedWindow {
public:
    static constexpr UINT_PTR kAnimationTimer = 0x4854;

    CPPHtmlStatic() = default;
    ~CPPHtmlStatic() override;

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
    // Sets, changes or kills the timer to match what the drawer's pictures need.
    void ArmAnimationTimer();

    CPPHtmlDrawer drawer_;
    bool trackingMouse_ = false;
    int timerMs_ = 0;  // the period of the running animation timer; 0: none
};

}  // namespace controls::html
