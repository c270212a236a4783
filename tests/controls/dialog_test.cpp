#include "controls/base_dlg.h"
#include "platform/message_box.h"
#include "tests/support/dialog_driver.h"
#include "test_ids.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using controls::CBaseDlg;
using controls::DialogImpl;
using controls::MessageTable;
using testing_support::ControlText;
using testing_support::RunModal;

constexpr COLORREF kBackground = RGB(10, 200, 30);

// A dialog whose table records what reached which handler.
class CDrivenDlg : public DialogImpl<CDrivenDlg, CBaseDlg> {
public:
    CDrivenDlg() : DialogImpl(IDD_DRIVEN, kBackground) {}
    std::vector<std::string> calls;
    int answer = 0;

    static const MessageTable<CDrivenDlg>& Messages() {
        static const MessageTable<CDrivenDlg> table = {
            controls::OnMessage(WM_INITDIALOG, &CDrivenDlg::OnInitDialog),
            controls::OnCommand(IDC_GO, &CDrivenDlg::OnGo),
            controls::OnCommand(IDC_ASK, &CDrivenDlg::OnAsk),
            controls::OnCommand(IDOK, &CDrivenDlg::OnOk),
            controls::OnTimer(100, &CDrivenDlg::OnStartTimer),
        };
        return table;
    }

private:
    LRESULT OnInitDialog(WPARAM, LPARAM) {
        calls.push_back("init");
        Anchor(IDC_RIGHT_BUTTON, controls::kMoveWithRight);
        Anchor(IDC_STRETCHED, controls::kStretchWidth | controls::kStretchHeight);
        Anchor(IDC_BOTTOM_LABEL, controls::kMoveWithBottom);
        Anchor(IDOK, controls::kMoveWithRight | controls::kMoveWithBottom);
        SetTimer(100, 10);
        return TRUE;
    }
    void OnGo() {
        calls.push_back("go");
        ::SetDlgItemTextA(hwnd(), IDC_STATUS, "went");
    }
    void OnAsk() {
        answer = platform::ShowMessageBox(hwnd(), "Really?", "Velbrook", MB_YESNO);
        calls.push_back(answer == IDYES ? "yes" : "no");
    }
    void OnOk() {
        calls.push_back("ok");
        EndDialog(7);
    }
    void OnStartTimer() {
        KillTimer(100);
        calls.push_back("timer");
    }
};

TEST(Dialog, ModalRunGoesThroughTheTableInOrder) {
    CDrivenDlg dialog;
    testing_support::MessageBoxAnswers answers({IDYES, IDNO});
    const INT_PTR result = RunModal(dialog, [](controls::CDialog& d) {
        auto& driven = static_cast<CDrivenDlg&>(d);
        testing_support::PumpUntil([&] { return driven.calls.size() >= 2; });
        EXPECT_EQ(ControlText(d, IDC_STATUS), "idle");
        d.SendCommand(IDC_GO);
        EXPECT_EQ(ControlText(d, IDC_STATUS), "went");
        d.SendCommand(IDC_ASK);
        d.SendCommand(IDC_ASK);
        d.SendCommand(IDOK);
    });
    EXPECT_EQ(result, 7);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"init", "timer", "go", "yes", "no", "ok"}));
    ASSERT_EQ(answers.shown().size(), 2u);
    EXPECT_EQ(answers.shown()[0].text, "Really?");
    EXPECT_EQ(answers.shown()[0].type, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(dialog.hwnd(), nullptr);
}

TEST(Dialog, ScriptThatLeavesTheDialogOpenEndsItWithAbort) {
    CDrivenDlg dialog;
    EXPECT_EQ(RunModal(dialog, [](controls::CDialog&) {}), IDABORT);
}

TEST(BaseDlg, ErasesWithItsBackgroundColour) {
    CDrivenDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 50, 50);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::SendMessage(dialog.hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    const COLORREF pixel = ::GetPixel(memory, 20, 20);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    EXPECT_EQ(pixel, kBackground) << std::hex << pixel;
}

struct Placement {
    RECT right, stretched, bottom, ok;
};

Placement Measure(const controls::CDialog& d) {
    return {testing_support::ControlRect(d, IDC_RIGHT_BUTTON),
            testing_support::ControlRect(d, IDC_STRETCHED),
            testing_support::ControlRect(d, IDC_BOTTOM_LABEL),
            testing_support::ControlRect(d, IDOK)};
}

void Grow(HWND window, int dx, int dy) {
    RECT r;
    ::GetWindowRect(window, &r);
    ::SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dx, r.bottom - r.top + dy,
                   SWP_NOMOVE | SWP_NOZORDER);
}

TEST(ControlPos, AnchoredControlsFollowAResizeByTheirFlags) {
    CDrivenDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const Placement before = Measure(dialog);
    Grow(dialog.hwnd(), 100, 50);
    const Placement after = Measure(dialog);

    // 1: moves with the right edge, keeps its size.
    EXPECT_EQ(after.right.left - before.right.left, 100);
    EXPECT_EQ(after.right.right - before.right.right, 100);
    EXPECT_EQ(after.right.top, before.right.top);
    // 4 | 8: stretches both ways from a fixed top-left corner.
    EXPECT_EQ(after.stretched.left, before.stretched.left);
    EXPECT_EQ(after.stretched.top, before.stretched.top);
    EXPECT_EQ(after.stretched.right - before.stretched.right, 100);
    EXPECT_EQ(after.stretched.bottom - before.stretched.bottom, 50);
    // 2: moves with the bottom edge only.
    EXPECT_EQ(after.bottom.left, before.bottom.left);
    EXPECT_EQ(after.bottom.top - before.bottom.top, 50);
    // 1 | 2: follows the corner.
    EXPECT_EQ(after.ok.left - before.ok.left, 100);
    EXPECT_EQ(after.ok.top - before.ok.top, 50);

    // Back to the first size: every control is where it started.
    Grow(dialog.hwnd(), -100, -50);
    const Placement back = Measure(dialog);
    EXPECT_TRUE(::EqualRect(&back.stretched, &before.stretched));
    EXPECT_TRUE(::EqualRect(&back.ok, &before.ok));
}

TEST(ControlPos, NothingMovesBelowTheMinimumSize) {
    CDrivenDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    RECT client;
    ::GetClientRect(dialog.hwnd(), &client);
    dialog.controlPos().SetMinimumSize(client.right, client.bottom);
    const Placement before = Measure(dialog);
    Grow(dialog.hwnd(), -60, -30);
    const Placement after = Measure(dialog);
    EXPECT_TRUE(::EqualRect(&after.ok, &before.ok));
    EXPECT_TRUE(::EqualRect(&after.stretched, &before.stretched));
    Grow(dialog.hwnd(), 100, 60);  // 40 and 30 past the minimum
    EXPECT_EQ(testing_support::ControlRect(dialog, IDOK).left - before.ok.left, 40);
    EXPECT_EQ(testing_support::ControlRect(dialog, IDOK).top - before.ok.top, 30);
}

// A page that watches its own size and commands, as the main window's pages do.
class CWatchingDlg : public DialogImpl<CWatchingDlg, CDrivenDlg> {
public:
    bool passSize = true;
    bool passGo = true;
    bool passSecond = false;
    int sizes = 0;
    std::vector<std::string> seen;

    static const MessageTable<CWatchingDlg>& Messages() {
        static const MessageTable<CWatchingDlg> table = {
            controls::OnMessage(WM_SIZE, &CWatchingDlg::OnSize),
            controls::OnCommand(IDC_GO, &CWatchingDlg::OnGoFirst),
            controls::OnCommandRange(IDC_GO, IDC_ASK, &CWatchingDlg::OnGoSecond),
        };
        return table;
    }

private:
    LRESULT OnSize(WPARAM, LPARAM) {
        ++sizes;
        SetMsgHandled(!passSize);
        return 0;
    }
    void OnGoFirst() {
        seen.push_back("first");
        SetMsgHandled(!passGo);
    }
    void OnGoSecond(UINT) {
        seen.push_back("second");
        SetMsgHandled(!passSecond);
    }
};

TEST(Dialog, AHandlerThatPassesLetsTheBaseAnchorTheControls) {
    CWatchingDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const RECT before = testing_support::ControlRect(dialog, IDOK);
    Grow(dialog.hwnd(), 100, 50);
    EXPECT_GT(dialog.sizes, 0);
    EXPECT_EQ(testing_support::ControlRect(dialog, IDOK).left - before.left, 100);

    // Taking WM_SIZE for good ends its dispatch at the page: nothing moves.
    dialog.passSize = false;
    const RECT moved = testing_support::ControlRect(dialog, IDOK);
    Grow(dialog.hwnd(), 40, 0);
    EXPECT_EQ(testing_support::ControlRect(dialog, IDOK).left, moved.left);
}

TEST(Dialog, APassedCommandGoesToTheNextEntryThenTheBase) {
    CWatchingDlg dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.calls.clear();
    dialog.SendCommand(IDC_GO);  // the first passes, the second takes it
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"first", "second"}));
    EXPECT_TRUE(dialog.calls.empty());

    dialog.passSecond = true;  // both pass: the base's table gets it
    dialog.seen.clear();
    dialog.SendCommand(IDC_GO);
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"go"}));
    EXPECT_EQ(ControlText(dialog, IDC_STATUS), "went");

    dialog.passGo = false;  // the first takes it
    dialog.seen.clear();
    dialog.calls.clear();
    dialog.SendCommand(IDC_GO);
    EXPECT_EQ(dialog.seen, (std::vector<std::string>{"first"}));
    EXPECT_TRUE(dialog.calls.empty());
}

}  // namespace
