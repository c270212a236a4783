#include "controls/dialog.h"
#include "controls/dib.h"
#include "controls/hyperlink_button.h"
#include "controls/xp_button.h"
#include "res/art_ids.h"
#include "test_ids.h"

#include <gtest/gtest.h>

namespace {

using controls::CXPButton;

TEST(XPButtonFace, PressedWhenSelectedOrDefaultHotWhenFocusedOrHovered) {
    struct Case {
        UINT state;
        bool hover;
        CXPButton::Face face;
    } cases[] = {
        {0, false, CXPButton::kFaceNormal},
        {0, true, CXPButton::kFaceHot},
        {ODS_FOCUS, false, CXPButton::kFaceHot},
        {ODS_SELECTED, false, CXPButton::kFacePressed},
        {ODS_SELECTED | ODS_FOCUS, true, CXPButton::kFacePressed},
        {ODS_DEFAULT, false, CXPButton::kFacePressed},
        {ODS_DISABLED, false, CXPButton::kFaceNormal},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CXPButton::FaceFor(c.state, c.hover), c.face) << c.state << " " << c.hover;
    }
}

class CButtonDlg : public controls::DialogImpl<CButtonDlg> {
public:
    CButtonDlg() : DialogImpl(IDD_CONTROLS) {}
    CXPButton button;
    controls::CHyperLinkButton link;
    static const controls::MessageTable<CButtonDlg>& Messages() {
        static const controls::MessageTable<CButtonDlg> table = {
            controls::OnMessage(WM_INITDIALOG, &CButtonDlg::OnInitDialog),
        };
        return table;
    }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM) {
        button.SubclassDlgItem(IDC_XPBUTTON, hwnd());
        link.SubclassDlgItem(IDC_LINKBUTTON, hwnd());
        return TRUE;
    }
};

constexpr COLORREF kPaper = RGB(1, 2, 3);

// Draws the button in state into a fresh bitmap filled with kPaper; returns the pixel at x, y.
COLORREF DrawnPixel(const CXPButton& button, UINT state, int x, int y) {
    controls::CCeXDib dib;
    EXPECT_TRUE(dib.Create(120, 40));
    dib.Fill(kPaper);
    ::SetBkColor(dib.dc(), kPaper);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemState = state;
    item.hDC = dib.dc();
    item.rcItem = RECT{0, 0, 120, 40};
    button.Draw(item);
    return dib.Pixel(x, y);
}

TEST(XPButton, WithoutAPressedBitmapThePressedStateDrawsNothing) {
    CButtonDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    // The save button's two faces, no third.
    ASSERT_TRUE(dialog.button.SetBitmaps(art::kSave.normal, art::kSave.hot, 0));
    EXPECT_TRUE(dialog.button.hasBitmap(CXPButton::kFaceNormal));
    EXPECT_FALSE(dialog.button.hasBitmap(CXPButton::kFacePressed));
    EXPECT_NE(DrawnPixel(dialog.button, 0, 5, 5), kPaper);
    EXPECT_NE(DrawnPixel(dialog.button, ODS_FOCUS, 5, 5), kPaper);
    EXPECT_EQ(DrawnPixel(dialog.button, ODS_SELECTED, 5, 5), kPaper);
    // Normal and hot faces are different bitmaps.
    EXPECT_NE(DrawnPixel(dialog.button, 0, 5, 5), DrawnPixel(dialog.button, ODS_FOCUS, 5, 5));
}

TEST(XPButton, BitmapsAreTakenByIdAndMissingOnesReported) {
    CButtonDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_TRUE(dialog.button.SetBitmaps(art::kFixNow));
    EXPECT_TRUE(dialog.button.hasBitmap(CXPButton::kFacePressed));
    EXPECT_FALSE(dialog.button.SetBitmaps(187, 9999, 187));
    EXPECT_FALSE(dialog.button.hasBitmap(CXPButton::kFaceHot));
    // The template's push button became owner-drawn.
    EXPECT_EQ(::GetWindowLongPtr(dialog.button.hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
}

TEST(XPButton, MouseOverTracksHoverUntilTheLeaveNotification) {
    CButtonDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_FALSE(dialog.button.hovered());
    ::SendMessage(dialog.button.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(dialog.button.hovered());
    ::SendMessage(dialog.button.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(dialog.button.hovered());

    ::SendMessage(dialog.link.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(dialog.link.hovered());
    ::SendMessage(dialog.link.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(dialog.link.hovered());
}

TEST(XPButton, TheDialogReflectsDrawingToTheButton) {
    CButtonDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    ASSERT_TRUE(dialog.button.SetBitmaps(art::kSave));
    controls::CCeXDib dib;
    ASSERT_TRUE(dib.Create(60, 30));
    dib.Fill(kPaper);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = IDC_XPBUTTON;
    item.hwndItem = dialog.button.hwnd();
    item.hDC = dib.dc();
    item.rcItem = RECT{0, 0, 60, 30};
    EXPECT_TRUE(
        ::SendMessage(dialog.hwnd(), WM_DRAWITEM, IDC_XPBUTTON, reinterpret_cast<LPARAM>(&item)));
    EXPECT_NE(dib.Pixel(5, 5), kPaper);
}

}  // namespace
