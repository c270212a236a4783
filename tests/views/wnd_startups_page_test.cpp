// The Windows startups page on a seeded machine: the status list and its count, the scan on
// every visit, the buttons by scan result, and when the list is loaded.

#include "views/wnd_startups_page.h"

#include "cleanup/scrap_scan.h"
#include "history/status_values.h"
#include "res/art_ids.h"
#include "shell/core/settings_key.h"
#include "tests/support/data_folder.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/page_test_host.h"
#include "tests/views/seeded_entries.h"

#include <gtest/gtest.h>

using namespace testing_support;
using views::CListCtrlWinStrtup;
using views::CWndStartupsPage;

namespace {

// A name of the scrap catalogue.
constexpr char kScrapName[] = "Adobe ARM";

class WindowsStartupsPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        ResetSettingsKey();
    }

    void Visit() {
        if (!page_.hwnd()) {
            ASSERT_TRUE(host_.Add(controls::kWindowsStartupsPage, page_));
        }
        host_.SelectPage(controls::kHomePage);  // no page there: only hides this one
        host_.SelectPage(controls::kWindowsStartupsPage);
        host_.selections.clear();
    }

    // True when the button draws the normal face of that bitmap resource.
    static bool ShowsBitmap(const controls::CXPButton& button, UINT bitmapId) {
        HBITMAP bitmap = ::LoadBitmap(::GetModuleHandle(nullptr), MAKEINTRESOURCE(bitmapId));
        if (!bitmap) {
            return false;
        }
        const Capture drawn = CaptureClient(button.hwnd());
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HGDIOBJ previous = ::SelectObject(dc, bitmap);
        int same = 0, probes = 0;
        for (int y = 4; y < std::min(drawn.height, 36) - 4; y += 5) {
            for (int x = 4; x < std::min(drawn.width, 188) - 4; x += 7) {
                const COLORREF c = ::GetPixel(dc, x, y);
                const unsigned wanted = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
                same += drawn.At(x, y) == wanted;
                ++probes;
            }
        }
        ::SelectObject(dc, previous);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
        ::DeleteObject(bitmap);
        return probes > 0 && same == probes;
    }

    MessageBoxAnswers boxes_;
    PageTestHost host_;
    CWndStartupsPage page_;
};

TEST_F(WindowsStartupsPageTest, ListsEveryEntryWithItsStatusAndCountsTheActiveOnes) {
    SeedRunValue("Alpha", "\"C:\\alpha.exe\" -tray");
    SeedRunValue("Bravo", "C:\\bravo.exe");
    SeedRunValue("Charlie", "C:\\charlie.exe");
    ASSERT_TRUE(SwitchOff("Bravo"));
    Visit();

    ASSERT_EQ(page_.RowCount(), 3);
    EXPECT_EQ(ControlText(page_, IDC_WND_COUNT), "2 programs running on startup!");
    EXPECT_EQ(page_.activeCount(), 2);
    EXPECT_EQ(page_.list().CellText(0, 0), "Alpha");
    EXPECT_EQ(page_.list().CellText(0, 1), "Active");
    EXPECT_EQ(page_.list().CellText(0, 3), "C:\\alpha.exe\" -tray");
    EXPECT_EQ(page_.list().CellText(2, 0), "Bravo");
    EXPECT_EQ(page_.list().CellText(2, 1), "Disabled");
    EXPECT_TRUE(page_.IsActive("alpha"));
    EXPECT_FALSE(page_.IsActive("Bravo"));
    EXPECT_FALSE(page_.IsActive("Nobody"));

    // Bravo puts itself back: listed once, as returned, and counted.
    SeedRunValue("Bravo", "C:\\BRAVO.exe ");
    EXPECT_EQ(page_.LoadAndCountActive(), 3);
    ASSERT_EQ(page_.RowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(page_.list().CellText(row, 1),
                  page_.list().CellText(row, 0) == "Bravo" ? "Returned" : "Active");
    }

    // Every row is drawn in green.
    const Capture drawn = CaptureClient(page_.list().hwnd());
    for (int row = 0; row < 3; ++row) {
        RECT bounds{};
        ListView_GetItemRect(page_.list().hwnd(), row, &bounds, LVIR_BOUNDS);
        EXPECT_GT(drawn.Count(views::CListCtrlWinStrtup::kRowTextColour, bounds), 10) << row;
    }
}

TEST_F(WindowsStartupsPageTest, PublishersFillInAfterTheRowsShowAndAClaimIsGrey) {
    char own[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, own, MAX_PATH);
    SeedRunValue("Versioned", std::string(own, length) + " /tray");
    Visit();
    ASSERT_EQ(page_.RowCount(), 1);
    ASSERT_TRUE(PumpUntil([&] { return page_.list().PublisherAt(0) != nullptr; }));
    // This test program carries the product's version resource and no signature.
    EXPECT_EQ(page_.list().CellText(0, CListCtrlWinStrtup::kPublisherColumn),
              "Velbrook (not verified)");
    EXPECT_EQ(page_.list().PublisherAt(0)->signature, publisher::SignatureState::Unsigned);
    ::UpdateWindow(page_.list().hwnd());
    RECT cell{};
    ListView_GetSubItemRect(page_.list().hwnd(), 0, CListCtrlWinStrtup::kPublisherColumn,
                            LVIR_BOUNDS, &cell);
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    EXPECT_GT(CaptureClient(page_.list().hwnd()).Count(grey, cell), 10);
}

TEST_F(WindowsStartupsPageTest, EveryVisitScansAndSetsTheButtonsButTheListStaysAsLoaded) {
    SeedRunValue(kScrapName, "C:\\arm.exe");
    SeedRunValue("Alpha", "C:\\alpha.exe");
    shell::WriteSetting("7", history::status::kFoundUnwanted);
    Visit();
    EXPECT_EQ(shell::ReadSettingText(history::status::kFoundUnwanted), "1");
    EXPECT_EQ(cleanup::ScrapList().items.size(), 1u);
    EXPECT_TRUE(ShowsBitmap(page_.manualFixButton(), art::kManualFixActive.normal));
    EXPECT_TRUE(ShowsBitmap(page_.automaticFixButton(), art::kAutomaticFixActive.normal));
    EXPECT_EQ(page_.RowCount(), 2);

    // The scrap entry goes: the next visit scans again but keeps the list it loaded.
    ASSERT_TRUE(SwitchOff(kScrapName));
    Visit();
    EXPECT_EQ(shell::ReadSettingText(history::status::kFoundUnwanted), "0");
    EXPECT_TRUE(ShowsBitmap(page_.manualFixButton(), art::kManualFixIdle.normal));
    EXPECT_TRUE(ShowsBitmap(page_.automaticFixButton(), art::kAutomaticFixIdle.normal));
    EXPECT_TRUE(page_.IsActive(kScrapName));
    EXPECT_EQ(ControlText(page_, IDC_WND_COUNT), "2 programs running on startup!");

    // Asked by another page, the list is read again.
    EXPECT_EQ(page_.EnsureLoadedRowCount(), 2);
    EXPECT_TRUE(page_.IsActive(kScrapName));
    EXPECT_EQ(page_.LoadAndCountActive(), 1);
    EXPECT_FALSE(page_.IsActive(kScrapName));
    EXPECT_EQ(ControlText(page_, IDC_WND_COUNT), "1 programs running on startup!");

    // A visit rewrites the value even when nothing changed.
    shell::WriteSetting("5", history::status::kFoundUnwanted);
    Visit();
    EXPECT_EQ(shell::ReadSettingText(history::status::kFoundUnwanted), "0");
}

TEST_F(WindowsStartupsPageTest, AutomaticFixWithNothingFoundSaysThePcIsOptimized) {
    SeedRunValue("Alpha", "C:\\alpha.exe");
    Visit();
    page_.SendCommand(IDC_WND_AUTOMATIC_FIX);
    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].text,
              "Your PC already Optimized. Click Manually Fix button to Manage Startup Programs.");
    EXPECT_EQ(boxes_.shown()[0].caption, "Velbrook");
    EXPECT_EQ(boxes_.shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));

    page_.SendCommand(IDC_WND_MANUAL_FIX);
    EXPECT_EQ(host_.selections, (std::vector<int>{controls::kManualFixPage}));
}

TEST_F(WindowsStartupsPageTest, WithNoEntriesTheLabelsAreCleared) {
    Visit();
    EXPECT_EQ(page_.RowCount(), 0);
    EXPECT_EQ(ControlText(page_, IDC_WND_COUNT), "");
    EXPECT_EQ(ControlText(page_, IDC_WND_ADVICE), "");
    EXPECT_EQ(page_.LoadAndCountActive(), 0);
    EXPECT_EQ(ControlText(page_, IDC_WND_COUNT), "0 programs running on startup!");
}

TEST_F(WindowsStartupsPageTest, ButtonsFollowTheBottomOfThePage) {
    Visit();
    ::MoveWindow(page_.hwnd(), 0, 0, 700, 450, TRUE);
    const RECT manual = ControlRect(page_, IDC_WND_MANUAL_FIX);
    const RECT automatic = ControlRect(page_, IDC_WND_AUTOMATIC_FIX);
    EXPECT_EQ(manual.left, 200);     // 700 / 3.5
    EXPECT_EQ(automatic.left, 400);  // 700 / 2.5 + 120
    EXPECT_EQ(manual.top, 390);
    EXPECT_EQ(automatic.bottom - automatic.top, 36);
    EXPECT_EQ(manual.right - manual.left, 188);
}

TEST_F(WindowsStartupsPageTest, ToolTipsShareOneYellowTipOfLimitedWidth) {
    Visit();
    HWND tip = page_.toolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(::SendMessage(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_EQ(static_cast<COLORREF>(::SendMessage(tip, TTM_GETTIPBKCOLOR, 0, 0)),
              RGB(250, 253, 215));
    EXPECT_EQ(::SendMessage(tip, TTM_GETMAXTIPWIDTH, 0, 0), 200);
    char text[200] = "";
    TTTOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = page_.hwnd();
    tool.uId = reinterpret_cast<UINT_PTR>(page_.Item(IDC_WND_MANUAL_FIX));
    tool.lpszText = text;
    ::SendMessageA(tip, TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "Choose the programs you want to\nEnable/Disable on startup.");
}

}  // namespace
