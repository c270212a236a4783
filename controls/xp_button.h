#pragma once
// CXPButton: an owner-drawn button made of three bitmaps (normal, hot, pressed) with a caption
// and an optional icon. The stretched variant scales its bitmaps to the button when it loads
// them and can carry the elevation shield.

#include "controls/owner_draw_button.h"
#include "controls/text.h"
#include "platform/unique_any.h"
#include "res/art_ids.h"

namespace controls {

class CXPButton : public COwnerDrawButton {
public:
    enum Variant { kPlain, kStretched };
    enum Face { kFaceNormal, kFaceHot, kFacePressed };

    explicit CXPButton(Variant variant = kPlain, HINSTANCE resources = nullptr);

    // Resource ids; 0 leaves a slot empty. Earlier bitmaps are released first.
    bool SetBitmaps(UINT normalId, UINT hotId, UINT pressedId);
    bool SetBitmaps(const art::ButtonBitmaps& ids) {
        return SetBitmaps(ids.normal, ids.hot, ids.pressed);
    }
    void SetIcon(HICON icon);  // borrowed; drawn 12 pixels from the left, centred vertically
    void SetCaptionColors(COLORREF normal, COLORREF hot);
    void SetCaptionFont(const tstring& face, int points, bool bold = false);
    // Stretched variant: draw the shield on this button while the process is not elevated.
    void SetElevationShield(bool on);

    bool hasBitmap(Face face) const { return static_cast<bool>(bitmaps_[face]); }
    // Makes the button as large as its normal bitmap, its right and bottom edges kept (a
    // button larger than its bitmap shows the button face around it).
    void FitToBitmap() const;
    // The resource ids of the bitmaps last set.
    const art::ButtonBitmaps& bitmapIds() const { return bitmapIds_; }

    // The bitmap a drawing state (ODS_*) shows: pressed when selected or default, hot when
    // focused or under the mouse, else normal.
    static Face FaceFor(UINT itemState, bool hover);
    void Draw(const DRAWITEMSTRUCT& item) const override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HBITMAP LoadFace(UINT id) const;

    Variant variant_;
    HINSTANCE resources_;
    platform::unique_hbitmap bitmaps_[3];
    art::ButtonBitmaps bitmapIds_{0, 0, 0};
    HICON icon_ = nullptr;
    COLORREF captionColour_ = RGB(255, 255, 255);
    COLORREF captionHotColour_ = RGB(255, 255, 255);
    platform::unique_hfont font_;
    bool shield_ = false;
};

// Shows button as the chosen one of a row of buttons (the pressed bitmap in every state) or,
// not chosen, with its own three bitmaps; repaints it at once.
void ShowButtonChosen(CXPButton& button, const art::ButtonBitmaps& bitmaps, bool chosen);

// The small shield stock icon when this process would need elevation for admin work (Windows
// 6 or later, not elevated), else null. Fetched once for every button.
HICON ElevationShieldIcon();

}  // namespace controls
