#include "controls/base_dlg.h"

namespace controls {

CBaseDlg::CBaseDlg(UINT templateId, COLORREF background, HINSTANCE resources)
    : DialogImpl(templateId, resources),
      background_(background),
      brush_(::CreateSolidBrush(background)) {}

const MessageTable<CBaseDlg>& CBaseDlg::Messages() {
    static const MessageTable<CBaseDlg> table = {
        OnMessage(WM_ERASEBKGND, &CBaseDlg::OnEraseBackground),
        OnMessage(WM_SIZE, &CBaseDlg::OnSize),
        OnMessage(WM_CTLCOLORDLG, &CBaseDlg::OnControlColour),
        OnMessage(WM_CTLCOLORSTATIC, &CBaseDlg::OnControlColour),
    };
    return table;
}

void CBaseDlg::StartAnchoring() {
    if (!anchoring_) {
        controlPos_.SetParent(hwnd());
        anchoring_ = true;
    }
}

bool CBaseDlg::Anchor(UINT id, UINT flags) {
    StartAnchoring();
    return controlPos_.AddControl(id, flags);
}

bool CBaseDlg::Anchor(HWND child, UINT flags) {
    StartAnchoring();
    return controlPos_.AddControl(child, flags);
}

LRESULT CBaseDlg::OnEraseBackground(WPARAM dc, LPARAM) {
    RECT client{};
    ::GetClientRect(hwnd(), &client);
    ::FillRect(reinterpret_cast<HDC>(dc), &client, brush_.get());
    return TRUE;
}

LRESULT CBaseDlg::OnSize(WPARAM type, LPARAM) {
    if (type != SIZE_MINIMIZED) {
        controlPos_.MoveControls();
    }
    // A derived page that watches WM_SIZE calls SetMsgHandled(false) so that this runs too.
    return 0;
}

}  // namespace controls

namespace controls {
// Plain statics and the dialog itself sit on the same colour.
LRESULT CBaseDlg::OnControlColour(WPARAM dc, LPARAM) {
    ::SetBkColor(reinterpret_cast<HDC>(dc), background_);
    return reinterpret_cast<LRESULT>(brush_.get());
}
}  // namespace controls
