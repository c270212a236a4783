// The home page on a seeded machine: the status display for each combination of the status
// values, the fix button's two ways, the history link and the maintenance tip.

#include "history/home_page.h"

#include "history/home_status.h"
#include "history/status_values.h"
#include "platform/web_page.h"
#include "shell/core/settings_key.h"
#include "tests/support/data_folder.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/page_test_host.h"
#include "tests/views/seeded_entries.h"
#include "update/site_config.h"
#include "views/wnd_startups_page.h"

#include <gtest/gtest.h>

using namespace testing_support;
using history::CHomePage;

namespace {

constexpr char kOptimized[] =
    "Your PC already Optimized. Click Manually Fix button to Manage Startup Programs.";

class HomePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        ResetSettingsKey();
    }

    void Show() {
        if (!home_.hwnd()) {
            ASSERT_TRUE(host_.Add(controls::kHomePage, home_));
            ASSERT_TRUE(host_.Add(controls::kWindowsStartupsPage, startups_));
        }
        host_.SelectPage(controls::kAboutPage);  // an empty slot: hides the page shown
        host_.SelectPage(controls::kHomePage);
        host_.selections.clear();
    }

    static void Store(const char* name, const char* value) {
        if (value) {
            shell::WriteSetting(value, name);
        }
    }

    MessageBoxAnswers boxes_;
    PageTestHost host_;
    CHomePage home_;
    views::CWndStartupsPage startups_;
};

TEST_F(HomePageTest, StatusDisplayFollowsTheStatusValues) {
    SeedRunValue("Alpha", "C:\\alpha.exe");
    SeedRunValue("Bravo", "C:\\bravo.exe");
    SeedRunValue("Charlie", "C:\\charlie.exe");
    ASSERT_TRUE(SwitchOff("Charlie"));
    struct Case {
        const char* found;  // null: the value is missing
        const char* scanStatus;
        const char* cleaned;
        const char* removedShown;
        const char* foundShown;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, " -- ", " -- "},  // a fresh installation
        {"0", "1", "3", "3", "0"},                    // a scan found nothing after a run
        {"0", "0", "3", " -- ", " -- "},
        {"0", "2", "3", " -- ", " -- "},
        {"-1", "1", "3", " -- ", " -- "},
        {"4", "0", "3", "--", "4"},  // a scan found four, no run since
        {"4", "1", "3", "3", "4"},   // a run switched off three
        {"4", "7", "3", " -- ", " -- "},
        {"x", "1", "3", "3", "0"},  // not a number counts as 0
    };
    for (const Case& c : cases) {
        ResetSettingsKey();
        Store(history::status::kFoundUnwanted, c.found);
        Store(history::status::kScanStatus, c.scanStatus);
        Store(history::status::kCleanedUnwanted, c.cleaned);
        Show();
        const std::string label =
            std::string(c.found ? c.found : "-") + "/" + (c.scanStatus ? c.scanStatus : "-");
        EXPECT_EQ(ControlText(home_, IDC_HOME_REMOVED), c.removedShown) << label;
        EXPECT_EQ(ControlText(home_, IDC_HOME_FOUND), c.foundShown) << label;
        EXPECT_EQ(ControlText(home_, IDC_HOME_TOTAL), "2") << label;
    }
    // The count comes from the Windows startups page, which was loaded for it.
    EXPECT_TRUE(startups_.loaded());
    EXPECT_EQ(startups_.RowCount(), 3);
    EXPECT_TRUE(boxes_.shown().empty());
}

TEST_F(HomePageTest, FixButtonOpensTheAutomaticFixOnlyAfterAScanWithoutRun) {
    SeedRunValue("Alpha", "C:\\alpha.exe");
    Store(history::status::kFoundUnwanted, "4");
    Store(history::status::kScanStatus, "0");
    Show();
    ASSERT_EQ(ControlText(home_, IDC_HOME_REMOVED), "--");
    home_.SendCommand(IDC_HOME_FIX);
    EXPECT_EQ(host_.selections, (std::vector<int>{controls::kWindowsStartupsPage}));
    // The Windows startups page's scan finds nothing here, so its fix says so.
    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].text, kOptimized);

    Store(history::status::kScanStatus, "1");
    Store(history::status::kFoundUnwanted, "4");
    Store(history::status::kCleanedUnwanted, "3");
    Show();
    ASSERT_EQ(ControlText(home_, IDC_HOME_REMOVED), "3");
    home_.SendCommand(IDC_HOME_FIX);
    EXPECT_EQ(host_.selections, (std::vector<int>{controls::kWindowsStartupsPage}));
    EXPECT_EQ(boxes_.shown().size(), 1u);
}

TEST_F(HomePageTest, ViewHistoryOpensTheHistorySubPage) {
    Show();
    // The link holds its whole text (Arial 16 bold) and ends with the heading band.
    HFONT font =
        ::CreateFontA(-16, 0, 0, 0, FW_BOLD, 0, FALSE, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE text{};
    ::GetTextExtentPoint32A(dc, "View History", 12, &text);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    const RECT link = ControlRect(home_, IDC_HOME_VIEW_HISTORY);
    RECT client{};
    ::GetClientRect(home_.hwnd(), &client);
    EXPECT_GE(link.right - link.left, text.cx);
    EXPECT_EQ(link.right, client.right - 42);

    home_.SendCommand(IDC_HOME_VIEW_HISTORY);
    EXPECT_EQ(host_.settingsSubPages, (std::vector<int>{controls::kHistorySubPage}));
    EXPECT_EQ(host_.selections, (std::vector<int>{controls::kTabSettingsPage}));
}

TEST_F(HomePageTest, TipButtonOpensTheSiteOfTheShownTip) {
    std::vector<std::string> opened;
    const platform::WebPageHandler previous =
        platform::SetWebPageHandler([&](const std::string& address) {
            opened.push_back(address);
            return true;
        });
    Show();
    EXPECT_EQ(ControlText(home_, IDC_HOME_TIP_HEADING), "PC Maintenance Tips");
    const std::string tip = ControlText(home_, IDC_HOME_TIP);
    EXPECT_EQ(tip, home_.tipText());
    home_.SendCommand(IDC_HOME_TIP_BUTTON);
    platform::SetWebPageHandler(previous);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], CHomePage::TipAddress(tip));

    using update::CompanionProduct;
    const CompanionProduct products[] = {
        CompanionProduct::Tessarine, CompanionProduct::Tessarine,  CompanionProduct::Corvallo,
        CompanionProduct::Corvallo,  CompanionProduct::FileRepair, CompanionProduct::FileRepair};
    for (int i = 0; i < history::kMaintenanceTipCount; ++i) {
        EXPECT_EQ(CHomePage::TipAddress(CHomePage::TipText(i)),
                  update::CompanionSiteUrl(products[i]))
            << i;
    }
    EXPECT_EQ(std::string(CHomePage::TipText(3)),
              "Don\x92t let others intrude on your privacy. Use Corvallo.");
    // The comparison is exact.
    EXPECT_EQ(CHomePage::TipAddress("keep your PC free of bad files"), "");
}

TEST(MaintenanceTipTest, SeededFromTheTimeAndItsCalendarFields) {
    const std::time_t when = 1700000000;  // 14 Nov 2023, UTC
    std::tm local = *std::localtime(&when);
    std::srand(static_cast<unsigned>(when) +
               static_cast<unsigned>(local.tm_year + local.tm_mon + local.tm_mday + 1901));
    const int expected = std::rand() % 6;
    EXPECT_EQ(history::ChooseMaintenanceTip(when), expected);
    EXPECT_EQ(history::ChooseMaintenanceTip(when), history::ChooseMaintenanceTip(when));
}

TEST_F(HomePageTest, BackgroundBands) {
    Show();
    const Capture drawn = CaptureClient(home_.hwnd());
    const int w = drawn.width, h = drawn.height;
    EXPECT_EQ(drawn.At(50, 40), 0x204DA5u);
    EXPECT_EQ(drawn.At(w - 43, 72), 0x204DA5u);
    EXPECT_EQ(drawn.At(w - 42, 72), 0xFFFFFFu);
    EXPECT_EQ(drawn.At(50, 170), 0xE8F7D7u);
    EXPECT_EQ(drawn.At(50, 110), 0xE1E1E1u);
    EXPECT_EQ(drawn.At(444, 100), 0xE1E1E1u);
    EXPECT_EQ(drawn.At(6, h - 8), 0xF5F5F5u);
    EXPECT_EQ(drawn.At(6, h - 6), 0xFFFFFFu);
    const RECT fix = ControlRect(home_, IDC_HOME_FIX);
    EXPECT_EQ(fix.left, w / 2 - 81);
    EXPECT_EQ(fix.top, 252);
    EXPECT_EQ(fix.right - fix.left, 191);
}

}  // namespace
