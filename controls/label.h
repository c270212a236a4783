#pragma once
// CLabel: a static control with its own font, colours, background, flashing, 3-D and rotated
// text, and web or mail links. Every setter repaints and returns the label, so calls chain:
//   label.SetTextColor(RGB(255, 0, 0)).SetFontBold(true).SetFontSize(12);

#include "controls/subclassed_window.h"
#include "controls/text.h"
#include "platform/unique_any.h"

namespace controls {

// WM_NOTIFY code the parent gets for a click when the notify-parent flag is set.
inline constexpr UINT kLabelClicked = 33280;

class CLabel : public CSubclassedWindow {
public:
    enum FlashMode { kFlashNone, kFlashText, kFlashBackground };
    enum LinkMode { kLinkNone = 0, kLinkWeb = 1, kLinkMail = 2 };
    enum Offset3D { kRaised, kSunken3D };  // copy drawn down-right / up-left

    // What a click does, as the click handler works it out.
    struct ClickAction {
        bool notifyParent = false;
        tstring verb;    // empty: the default verb
        tstring target;  // empty: nothing is opened
        int show = SW_SHOWNORMAL;
    };

    CLabel();
    ~CLabel() override;

    virtual CLabel& SetBkColor(COLORREF colour, COLORREF second = 0, bool gradient = false);
    virtual CLabel& SetTextColor(COLORREF colour);
    virtual CLabel& SetText(const tstring& text);
    virtual CLabel& SetFontBold(bool bold);
    virtual CLabel& SetFontName(const tstring& face, BYTE charSet = DEFAULT_CHARSET);
    virtual CLabel& SetFontUnderline(bool underline);
    virtual CLabel& SetFontItalic(bool italic);
    virtual CLabel& SetFontSize(int points);
    virtual CLabel& SetSunken(bool sunken);
    virtual CLabel& SetBorder(bool border);
    virtual CLabel& SetTransparent(bool transparent);
    virtual CLabel& FlashText(bool on);
    virtual CLabel& FlashBackground(bool on);
    virtual CLabel& SetLink(bool on, bool notifyParent);
    virtual CLabel& SetLinkCursor(HCURSOR cursor);
    virtual CLabel& SetText3D(bool on, Offset3D offset = kRaised);
    virtual CLabel& SetRotationAngle(int degrees);
    virtual CLabel& SetTextHoverColor(COLORREF colour);
    virtual CLabel& SetFont(const LOGFONT& font);
    virtual CLabel& SetMailLink(bool on, bool notifyParent);
    virtual CLabel& SetLinkTarget(const tstring& target);

    tstring text() const;
    COLORREF textColor() const { return textColour_; }
    const LOGFONT& font() const { return logFont_; }
    HFONT fontHandle() const { return font_.get(); }
    int linkMode() const { return linkMode_; }
    FlashMode flashMode() const { return flash_; }
    bool hovered() const { return isHovered(); }
    ClickAction ClickActionNow() const;

    static constexpr UINT_PTR kFlashTimer = 1;
    static constexpr UINT kFlashPeriodMs = 500;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSubclassed() override;

private:
    void RebuildFont();
    CLabel& Repaint();
    CLabel& SetLinkMode(LinkMode mode, bool notifyParent);
    CLabel& SetFlash(FlashMode mode, bool on);
    void SetStyleBit(int which, DWORD bit, bool on);
    void OnHoverChanged() override { Repaint(); }
    void Paint(HDC dc, const RECT& client);
    void PaintBackground(HDC dc, const RECT& client) const;
    void PaintText(HDC dc, const RECT& client, COLORREF colour, int dx, int dy) const;
    void OnClick() const;

    COLORREF textColour_;
    COLORREF hoverColour_;
    COLORREF background_;
    COLORREF background2_ = 0;
    bool gradient_ = false;
    platform::unique_hbrush brush_;
    LOGFONT logFont_{};
    platform::unique_hfont font_;
    bool transparent_ = false;
    FlashMode flash_ = kFlashNone;
    bool flashShown_ = true;
    LinkMode linkMode_ = kLinkNone;
    tstring linkTarget_;
    HCURSOR linkCursor_ = nullptr;
    bool notifyParent_ = false;
    bool text3D_ = false;
    Offset3D offset3D_ = kRaised;
};

}  // namespace controls
