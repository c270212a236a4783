#pragma once
// The skinned dialog base: a plain background colour over the whole client area and anchored
// child controls that follow a resize.

#include "controls/control_pos.h"
#include "controls/dialog.h"
#include "platform/unique_any.h"

namespace controls {

class CBaseDlg : public DialogImpl<CBaseDlg> {
public:
    CBaseDlg(UINT templateId, COLORREF background, HINSTANCE resources = nullptr);

    static const MessageTable<CBaseDlg>& Messages();

    COLORREF background() const { return background_; }
    CControlPos& controlPos() { return controlPos_; }
    // Anchors control id of this dialog (flags of AnchorFlags); the first call measures the
    // client area that later sizes are compared with.
    bool Anchor(UINT id, UINT flags);
    // The same for a child window without an id of its own (a child page).
    bool Anchor(HWND child, UINT flags);

private:
    LRESULT OnEraseBackground(WPARAM dc, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnControlColour(WPARAM dc, LPARAM);
    void StartAnchoring();

    COLORREF background_;
    platform::unique_hbrush brush_;
    CControlPos controlPos_;
    bool anchoring_ = false;
};

}  // namespace controls
