#pragma once
// CHyperLinkButton: a button drawn like a link, underlined while the mouse is over it or it is
// pressed, with an optional bitmap left of the text and the hand cursor.

#include "controls/owner_draw_button.h"
#include "controls/text.h"
#include "platform/unique_any.h"

namespace controls {

class CHyperLinkButton : public COwnerDrawButton {
public:
    explicit CHyperLinkButton(HINSTANCE resources = nullptr);

    void SetFont(const tstring& face, int height, bool bold);
    void SetColors(COLORREF normal, COLORREF hover,
                   COLORREF background = ::GetSysColor(COLOR_3DFACE));
    // Bitmap resource id, drawn with transparent as its see-through colour; 0 removes it.
    bool SetBitmap(UINT id, COLORREF transparent);
    void SetTransparent(bool transparent);
    // The room the caption needs in the link's font, with the bitmap before it.
    SIZE ContentSize() const;

    void Draw(const DRAWITEMSTRUCT& item) const override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HINSTANCE resources_;
    platform::unique_hfont font_, underlined_;
    COLORREF normal_ = RGB(0, 0, 255);
    COLORREF hoverColour_ = RGB(0, 0, 255);
    COLORREF background_;
    platform::unique_hbitmap bitmap_;
    COLORREF bitmapTransparent_ = 0;
    bool transparent_ = false;
};

}  // namespace controls
