#include "cleanup/automatic_fix_dlg.h"

#include "cleanup/ignore_list.h"
#include "cleanup/scrap_scan.h"
#include "controls/html/link_open.h"
#include "controls/list_rows.h"
#include "history/fix_files.h"
#include "history/time_text.h"
#include "platform/clock.h"
#include "shell/core/settings_key.h"
#include "tests/support/data_folder.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/machine_state.h"
#include "tests/support/page_test_host.h"
#include "tests/cleanup/ignored_file_names.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;
using cleanup::CMngAutoStartupsDlg;

constexpr std::int64_t kNow = 1796700000;

class AutomaticFixDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        ResetSettingsKey();
        cleanup::LoadIgnoreList();
        platform::SetClockOverride([] { return kNow; });
    }
    void TearDown() override { platform::SetClockOverride(nullptr); }

    static void WaitForScan(CMngAutoStartupsDlg& dialog) {
        ASSERT_TRUE(PumpUntil([&] { return dialog.scanDone(); }));
    }
    static std::vector<std::string> RowNames(CMngAutoStartupsDlg& dialog) {
        std::vector<std::string> names;
        const HWND list = dialog.list().hwnd();
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            names.push_back(controls::RowText(list, row, 0) +
                            (controls::IsRowChecked(list, row) ? "+" : "-"));
        }
        return names;
    }
};

TEST_F(AutomaticFixDlgTest, NothingFoundSaysSoEndsWithCancelAndStoresTheScan) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "NotScrap", "notscrap.exe");
    MessageBoxAnswers boxes;
    CMngAutoStartupsDlg dialog;
    const INT_PTR result =
        RunModal(dialog, [&](controls::CDialog& d) { PumpUntil([&] { return !d.IsOpen(); }); });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              "Your PC already Optimized. Click Manually Fix button to Manage Startup Programs.");
    EXPECT_EQ(boxes.shown()[0].caption, "Velbrook");
    EXPECT_EQ(boxes.shown()[0].type, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(shell::ReadSettingText("funwanted"), "0");
    EXPECT_EQ(shell::ReadSettingText("scanstatus"), "0");
    EXPECT_EQ(shell::ReadSettingText("lastscan"), history::DisplayTimeText(kNow));
}

TEST_F(AutomaticFixDlgTest, ListsTheScanWithTrimmedCommandsAndAnswersNoByTickingAgain) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Steam", "  \"C:\\Steam\\steam.exe\" -silent ");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    MessageBoxAnswers boxes({IDNO});
    CMngAutoStartupsDlg dialog;
    RunModal(dialog, [&](controls::CDialog& d) {
        WaitForScan(dialog);
        EXPECT_EQ(ControlText(d, IDC_AUTOFIX_HEADING), "2 scrap program(s) found on startup!");
        EXPECT_TRUE(::IsWindowEnabled(d.Item(IDOK)));
        EXPECT_FALSE(IsControlVisible(d, IDC_AUTOFIX_ANIMATION));
        // Catalogue order: "Skype" stands before "Steam".
        EXPECT_EQ(RowNames(dialog), (std::vector<std::string>{"Skype+", "Steam+"}));
        EXPECT_EQ(controls::RowText(dialog.list().hwnd(), 1, 1), "C:\\Steam\\steam.exe\" -silent");
        EXPECT_EQ(cleanup::ScrapList().items[1].command, "  \"C:\\Steam\\steam.exe\" -silent ");

        ListView_SetCheckState(dialog.list().hwnd(), 1, FALSE);
        EXPECT_EQ(RowNames(dialog), (std::vector<std::string>{"Skype+", "Steam+"}));
    });
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Would you like to Add this Program in Ignore List?");
    EXPECT_EQ(boxes.shown()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(ReadFileBytes(cleanup::IgnoreFilePath()), "<missing>");
    EXPECT_TRUE(cleanup::ScrapList().items[1].enabled);
    EXPECT_EQ(shell::ReadSettingText("funwanted"), "2");
}

TEST_F(AutomaticFixDlgTest, IgnoringTheOnlyRowEndsWithOkWithoutARun) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    MessageBoxAnswers boxes({IDYES});
    CMngAutoStartupsDlg dialog;
    const INT_PTR result = RunModal(dialog, [&](controls::CDialog& d) {
        WaitForScan(dialog);
        ListView_SetCheckState(dialog.list().hwnd(), 0, FALSE);
        PumpUntil([&] { return !d.IsOpen(); });
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].text, "No scrap program found." + std::string(41, ' '));
    EXPECT_EQ(IgnoredFileNames(), (std::vector<std::string>{"Skype"}));
    EXPECT_TRUE(cleanup::IsIgnored("SKYPE"));
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype"), "skype.exe");
    EXPECT_TRUE(history::ReadHistory().empty());
}

TEST_F(AutomaticFixDlgTest, AfterASortTheIgnoredRowIsTheOneShownAndTheRunPassesItOver) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Steam", "steam.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "uTorrent", "utorrent.exe");
    MessageBoxAnswers boxes({IDYES});
    CMngAutoStartupsDlg dialog;
    const INT_PTR result = RunModal(dialog, [&](controls::CDialog& d) {
        WaitForScan(dialog);
        dialog.list().OnHeaderClick(0);
        dialog.list().OnHeaderClick(0);
        ASSERT_EQ(RowNames(dialog), (std::vector<std::string>{"uTorrent+", "Steam+", "Skype+"}));
        ListView_SetCheckState(dialog.list().hwnd(), 0, FALSE);
        EXPECT_EQ(RowNames(dialog), (std::vector<std::string>{"Steam+", "Skype+"}));
        EXPECT_EQ(ControlText(d, IDC_AUTOFIX_HEADING), "2 scrap program(s) found on startup!");
        d.SendCommand(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(IgnoredFileNames(), (std::vector<std::string>{"uTorrent"}));
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[1].text, "2 scrap program(s) disabled successfullY.");
    EXPECT_EQ(boxes.shown()[1].type, static_cast<UINT>(MB_OK));
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype"), "<missing>");
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Steam"), "<missing>");
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "uTorrent"), "utorrent.exe");
    EXPECT_EQ(shell::ReadSettingText("cunwanted"), "2");
    EXPECT_EQ(shell::ReadSettingText("remaining"), "1");
    EXPECT_EQ(shell::ReadSettingText("scanstatus"), "1");
}

TEST_F(AutomaticFixDlgTest, CancelOffersTheLearnMorePageThenEndsWithCancel) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    std::vector<std::string> opened;
    auto previous = controls::html::SetAddressOpener([&](const std::string& address) {
        opened.push_back(address);
        return true;
    });
    MessageBoxAnswers boxes({IDYES, IDNO});
    PageTestHost host;
    CMngAutoStartupsDlg dialog;
    const INT_PTR result = RunModal(dialog, [&](controls::CDialog& d) {
        WaitForScan(dialog);
        d.SendCommand(IDCANCEL);
        EXPECT_TRUE(d.IsOpen());
        d.SendCommand(IDCANCEL);
    });
    controls::html::SetAddressOpener(previous);
    EXPECT_EQ(result, IDCANCEL);
    // Straight to the Windows startups page, once.
    EXPECT_EQ(host.selections, std::vector<int>{controls::kWindowsStartupsPage});

    // Opened from that page, which stays: it is not shown anew (and does not scan again).
    MessageBoxAnswers no({IDNO});
    host.selections.clear();
    CMngAutoStartupsDlg fromStartups;
    RunModal(fromStartups, [&](controls::CDialog& d) {
        WaitForScan(fromStartups);
        d.SendCommand(IDCANCEL);
    });
    EXPECT_TRUE(host.selections.empty());
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text,
              "Still Unsure about Fixing Scrap Programs? Click yes to Learn more. ");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_NE(opened[0].find("/fixstartupnow.aspx"), std::string::npos);
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype"), "skype.exe");
}

}  // namespace
