#pragma once
// A control of a dialog template taken over by one of our classes. The dialog reflects the
// notifications that Windows sends to the parent (drawing, colours, WM_NOTIFY) back to the
// control as kReflectedBase + message, so each control keeps its own drawing.

#include <windows.h>
#include <commctrl.h>

namespace controls {

// Same value as the OCM__BASE convention of the common dialogs.
inline constexpr UINT kReflectedBase = WM_USER + 0x1C00;

class CSubclassedWindow {
public:
    CSubclassedWindow() = default;
    CSubclassedWindow(const CSubclassedWindow&) = delete;
    CSubclassedWindow& operator=(const CSubclassedWindow&) = delete;
    virtual ~CSubclassedWindow();

    // Takes over control id of dialog; false when there is no such control.
    bool SubclassDlgItem(UINT id, HWND dialog);
    bool Subclass(HWND window);
    void Unsubclass();

    HWND hwnd() const { return hwnd_; }
    int id() const { return ::GetDlgCtrlID(hwnd_); }
    void Invalidate() const;

protected:
    // Every message of the control; the default passes it on to the control's own procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);
    // Called once after the control was taken over.
    virtual void OnSubclassed() {}
    // Mouse-over tracking for controls that look different under the mouse: the first move
    // asks for the leave notification. True when the message was WM_MOUSELEAVE (handled).
    bool TrackHover(UINT message);
    bool isHovered() const { return hover_; }
    // The default repaints the control.
    virtual void OnHoverChanged() { Invalidate(); }

public:
    static SUBCLASSPROC SubclassProcAddress() { return SubclassProc; }

private:
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR idSubclass, DWORD_PTR refData);
    HWND hwnd_ = nullptr;
    bool hover_ = false;
};

}  // namespace controls

namespace controls {
// True when window is a control that one of our classes has taken over.
bool IsOurControl(HWND window);
}  // namespace controls
