#include "controls/dialog.h"
#include "controls/label.h"
#include "test_ids.h"

#include <gtest/gtest.h>

namespace {

using controls::CLabel;

class CLabelDlg : public controls::DialogImpl<CLabelDlg> {
public:
    CLabelDlg() : DialogImpl(IDD_CONTROLS) {}
    CLabel label;
    int clicks = 0;
    UINT_PTR clickedId = 0;

    static const controls::MessageTable<CLabelDlg>& Messages() {
        static const controls::MessageTable<CLabelDlg> table = {
            controls::OnMessage(WM_INITDIALOG, &CLabelDlg::OnInitDialog),
            controls::OnNotify(IDC_LABEL, controls::kLabelClicked, &CLabelDlg::OnLabelClicked),
        };
        return table;
    }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM) {
        label.SubclassDlgItem(IDC_LABEL, hwnd());
        return TRUE;
    }
    LRESULT OnLabelClicked(NMHDR* header) {
        ++clicks;
        clickedId = header->idFrom;
        return 0;
    }
};

class Label : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create(nullptr)); }
    CLabelDlg dialog;
    CLabel& label = dialog.label;
};

TEST_F(Label, MailModeWritesToItsOwnTextWhateverTheTarget) {
    label.SetLinkTarget("http://example.com/help").SetMailLink(true, false);
    const auto action = label.ClickActionNow();
    EXPECT_FALSE(action.notifyParent);
    EXPECT_EQ(action.target, "mailto:help@example.com");
    EXPECT_EQ(action.verb, "");  // the default verb
    EXPECT_EQ(label.linkMode(), CLabel::kLinkMail);
}

TEST_F(Label, WebModeOpensTheTargetOrElseTheText) {
    label.SetLink(true, false);
    EXPECT_EQ(label.ClickActionNow().target, "help@example.com");
    EXPECT_EQ(label.ClickActionNow().verb, "open");
    EXPECT_EQ(label.ClickActionNow().show, SW_SHOWNORMAL);
    label.SetLinkTarget("http://example.com/");
    EXPECT_EQ(label.ClickActionNow().target, "http://example.com/");
    // Links get the notify style, or a static never sees the mouse.
    EXPECT_TRUE(::GetWindowLongPtr(label.hwnd(), GWL_STYLE) & SS_NOTIFY);
}

TEST_F(Label, NotifyParentClickReachesTheDialogTableInsteadOfOpening) {
    label.SetLink(true, true);
    EXPECT_TRUE(label.ClickActionNow().notifyParent);
    ::SendMessage(label.hwnd(), WM_LBUTTONDOWN, 0, MAKELPARAM(2, 2));
    ::SendMessage(label.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(dialog.clicks, 1);
    EXPECT_EQ(dialog.clickedId, static_cast<UINT_PTR>(IDC_LABEL));
}

TEST_F(Label, PlainLabelClickDoesNothing) {
    EXPECT_EQ(label.ClickActionNow().target, "");
    ::SendMessage(label.hwnd(), WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(dialog.clicks, 0);
}

TEST_F(Label, SettersChainAndRebuildTheFont) {
    label.SetTextColor(RGB(255, 0, 0))
        .SetFontName("Arial")
        .SetFontBold(true)
        .SetFontItalic(true)
        .SetFontUnderline(true)
        .SetFontSize(12)
        .SetRotationAngle(90)
        .SetText("Rotated");
    HDC screen = ::GetDC(nullptr);
    const int height = -::MulDiv(12, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(label.textColor(), RGB(255, 0, 0));
    EXPECT_STREQ(label.font().lfFaceName, "Arial");
    EXPECT_EQ(label.font().lfWeight, FW_BOLD);
    EXPECT_TRUE(label.font().lfItalic);
    EXPECT_TRUE(label.font().lfUnderline);
    EXPECT_EQ(label.font().lfHeight, height);
    EXPECT_EQ(label.font().lfEscapement, 900);
    EXPECT_EQ(label.font().lfOrientation, 900);
    EXPECT_EQ(label.text(), "Rotated");
    LOGFONTA made{};
    ::GetObjectA(label.fontHandle(), sizeof made, &made);
    EXPECT_EQ(made.lfWeight, FW_BOLD);
    EXPECT_EQ(made.lfEscapement, 900);
    label.SetFontBold(false);
    EXPECT_EQ(label.font().lfWeight, FW_NORMAL);
}

TEST_F(Label, StylesFollowSunkenBorderAndTransparent) {
    label.SetSunken(true).SetBorder(true).SetTransparent(true);
    EXPECT_TRUE(::GetWindowLongPtr(label.hwnd(), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_TRUE(::GetWindowLongPtr(label.hwnd(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_TRUE(::GetWindowLongPtr(label.hwnd(), GWL_STYLE) & WS_BORDER);
    label.SetSunken(false).SetBorder(false);
    EXPECT_FALSE(::GetWindowLongPtr(label.hwnd(), GWL_EXSTYLE) & WS_EX_STATICEDGE);
    EXPECT_FALSE(::GetWindowLongPtr(label.hwnd(), GWL_STYLE) & WS_BORDER);
}

TEST_F(Label, FlashingAlternatesOnTimerOneAndStops) {
    label.SetBkColor(RGB(0, 0, 255)).SetTextColor(RGB(255, 255, 0)).FlashBackground(true);
    EXPECT_EQ(label.flashMode(), CLabel::kFlashBackground);
    // The timer is the label's own timer 1: killing it succeeds only while flashing.
    EXPECT_TRUE(::KillTimer(label.hwnd(), 1));
    label.FlashText(true);
    EXPECT_EQ(label.flashMode(), CLabel::kFlashText);
    label.FlashText(false);
    EXPECT_EQ(label.flashMode(), CLabel::kFlashNone);
    EXPECT_FALSE(::KillTimer(label.hwnd(), 1));
}

}  // namespace
