#pragma once
// The common part of our owner-drawn buttons: the template's button becomes owner-drawn, the
// dialog's WM_DRAWITEM comes back to Draw, and the mouse-over state is tracked.

#include "controls/subclassed_window.h"

namespace controls {

class COwnerDrawButton : public CSubclassedWindow {
public:
    virtual void Draw(const DRAWITEMSTRUCT& item) const = 0;
    bool hovered() const { return isHovered(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSubclassed() override;
};

}  // namespace controls
