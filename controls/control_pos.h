#pragma once
// Anchors child controls to the right and bottom edges of their parent: after a size change
// each registered control moves or stretches by the growth of the client area since it was
// registered.

#include <windows.h>

#include <vector>

namespace controls {

enum AnchorFlags : UINT {
    kMoveWithRight = 1,
    kMoveWithBottom = 2,
    kStretchWidth = 4,
    kStretchHeight = 8,
};

class CControlPos {
public:
    // Remembers the parent's client size; controls registered later are measured against it.
    void SetParent(HWND parent);
    bool AddControl(HWND control, UINT flags);
    bool AddControl(UINT id, UINT flags);
    // The client size below which controls no longer move (0 = no bound).
    void SetMinimumSize(int width, int height);
    // Places every registered control for the parent's current client size.
    void MoveControls() const;

private:
    struct Anchored {
        HWND control;
        UINT flags;
        RECT placed;  // in parent client coordinates at registration
    };
    HWND parent_ = nullptr;
    SIZE registeredSize_{};
    SIZE minimumSize_{};
    std::vector<Anchored> controls_;
};

}  // namespace controls
