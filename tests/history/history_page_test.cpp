#include "history/history_details_dlg.h"
#include "history/history_page.h"

#include "controls/list_rows.h"
#include "engine/switching.h"
#include "history/fix_files.h"
#include "history/time_text.h"
#include "platform/clock.h"
#include "tests/support/data_folder.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/machine_state.h"
#include "tests/support/page_test_host.h"
#include "views/wnd_startups_page.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;
using history::CHistoryDetailsDlg;
using history::CSetHistory;

constexpr std::int64_t kDecember2026 = 1797768000;
constexpr std::int64_t kJanuary2027 = 1799150400;
constexpr std::int64_t kNovember2026 = 1793620800;

engine::StartupItem RunEntry(const std::string& name) {
    engine::StartupItem item;
    item.name = name;
    item.command = name + ".exe";
    item.location = std::string("HKCU\\") + kRunKey;
    return item;
}

std::vector<std::string> Rows(HWND list, int columns) {
    std::vector<std::string> rows;
    for (int row = 0; row < ListView_GetItemCount(list); ++row) {
        std::string text;
        for (int column = 0; column < columns; ++column) {
            if (column > 0) {
                text += '|';
            }
            text += controls::RowText(list, row, column);
        }
        rows.push_back(text + (controls::IsRowChecked(list, row) ? "+" : ""));
    }
    return rows;
}

class HistoryPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
    }
    void TearDown() override { platform::SetClockOverride(nullptr); }

    // One fix at a time: names that are switched off for real (so they can come back) and
    // names that are only recorded.
    static std::string WriteFix(std::int64_t time, const std::string& remarks,
                                const std::string& action, const std::vector<std::string>& off,
                                const std::vector<std::string>& recordedOnly = {}) {
        platform::SetClockOverride([time] { return time; });
        history::FixWriter fix;
        EXPECT_TRUE(fix.Begin());
        for (const auto& name : off) {
            SetRunValue(HKEY_CURRENT_USER, kRunKey, name, name + ".exe");
            EXPECT_TRUE(engine::DisableStartupItem(RunEntry(name), engine::ReportStyle::Free()));
            fix.Record(RunEntry(name));
        }
        for (const auto& name : recordedOnly) {
            fix.Record(RunEntry(name));
        }
        EXPECT_TRUE(fix.Finish(remarks, action));
        platform::SetClockOverride(nullptr);
        return fix.FixFilePath();
    }

    void ShowPage() {
        ASSERT_TRUE(host_.Add(controls::kTabSettingsPage, page_));
        host_.SelectPage(controls::kTabSettingsPage);
    }

    // Runs the details of a fix as the page would open it.
    INT_PTR RunDetails(const std::string& fixFile, const std::string& action, int count,
                       const std::function<void(CHistoryDetailsDlg&)>& script) {
        history::SelectedHistoryFix() = {action, count};
        CHistoryDetailsDlg details(fixFile);
        return RunModal(details, [&](controls::CDialog&) {
            PumpUntil([&] { return !ControlText(details, IDC_DETAILS_HEADING).empty(); });
            script(details);
        });
    }

    PageTestHost host_;
    CSetHistory page_;
};

TEST_F(HistoryPageTest, ListsFixesWithTheirFileInTimeOrderAcrossAYear) {
    WriteFix(kJanuary2027, "2 Scrap programs fixed successfully", "Automatic Fix", {}, {"A", "B"});
    const std::string gone =
        WriteFix(kNovember2026, "1 Programs fixed successfully", "Manual Fix", {}, {"C"});
    WriteFix(kDecember2026, "1 Programs fixed successfully", "Manual Fix", {}, {"D"});
    ::DeleteFileA(gone.c_str());
    ShowPage();
    const std::vector<std::string> oldestFirst = {
        "1 Programs fixed successfully|" + history::DisplayTimeText(kDecember2026) + "|Manual Fix",
        "2 Scrap programs fixed successfully|" + history::DisplayTimeText(kJanuary2027) +
            "|Automatic Fix"};
    EXPECT_EQ(Rows(page_.list().hwnd(), 3), oldestFirst);

    page_.list().OnHeaderClick(history::CListCtrlHistory::kScanTimeColumn);
    EXPECT_EQ(Rows(page_.list().hwnd(), 3),
              (std::vector<std::string>{oldestFirst[1], oldestFirst[0]}));
}

TEST_F(HistoryPageTest, DetailsWithoutASelectionAsksForOne) {
    WriteFix(kJanuary2027, "1 Programs fixed successfully", "Manual Fix", {}, {"A"});
    ShowPage();
    MessageBoxAnswers boxes;
    page_.SendCommand(CSetHistory::kDetailsButton);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Please Select an Item to show its details");
}

TEST_F(HistoryPageTest, TheDetailsOfAnAutomaticFixCountFromItsRemarks) {
    const std::string file = WriteFix(kJanuary2027, "12 Scrap programs fixed successfully",
                                      "Automatic Fix", {}, {"A", "B", "C"});
    ShowPage();
    ListView_SetItemState(page_.list().hwnd(), 0, LVIS_SELECTED, LVIS_SELECTED);
    // The page runs the details modally; a thread timer reads and closes them.
    static std::string heading, restored;
    heading.clear();
    restored.clear();
    ::SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR timer, DWORD) CALLBACK {
        const HWND details = ::FindWindowA(nullptr, "Velbrook - History Details ");
        char text[256] = {};
        if (!details || !::GetDlgItemTextA(details, IDC_DETAILS_HEADING, text, sizeof text)) {
            return;
        }
        ::KillTimer(nullptr, timer);
        heading = text;
        ::GetDlgItemTextA(details, IDC_DETAILS_RESTORED, text, sizeof text);
        restored = text;
        ::PostMessage(details, WM_COMMAND, IDCANCEL, 0);
    });
    page_.SendCommand(CSetHistory::kDetailsButton);
    EXPECT_EQ(heading, "12 Scrap Programs fixed Successfully");
    EXPECT_EQ(restored, "9 Program(s) are already Restored out of 12 Program(s)");
    EXPECT_EQ(history::SelectedHistoryFix().action, "Automatic Fix");
    EXPECT_EQ(history::SelectedHistoryFix().fixedCount, 12);
    EXPECT_EQ(ListView_GetItemCount(page_.list().hwnd()), 1);
    EXPECT_TRUE(history::FileExists(file));
}

TEST_F(HistoryPageTest, TheDetailsOfAKeptOffFixSayTheyWereSwitchedOffAgain) {
    const std::string file =
        WriteFix(kJanuary2027, "2 Programs switched off again", "Kept Off", {"Alpha", "Bravo"});
    RunDetails(file, "Kept Off", 2, [&](CHistoryDetailsDlg& d) {
        EXPECT_EQ(ControlText(d, IDC_DETAILS_HEADING), "2 Programs switched off again");
        d.SendCommand(IDCANCEL);
    });
}

TEST_F(HistoryPageTest, RestoringOneOfThreeShowsOneOutOfThree) {
    const std::string file = WriteFix(kJanuary2027, "3 Programs fixed successfully", "Manual Fix",
                                      {"Alpha", "Bravo", "Charlie"});
    MessageBoxAnswers boxes;
    const INT_PTR result = RunDetails(file, "Manual Fix", 3, [&](CHistoryDetailsDlg& d) {
        EXPECT_EQ(ControlText(d, IDC_DETAILS_HEADING), "3 Programs fixed Successfully");
        EXPECT_EQ(ControlText(d, IDC_DETAILS_RESTORED),
                  "0 Program(s) are already Restored out of 3 Program(s)");
        ListView_SetCheckState(d.list().hwnd(), 1, TRUE);
        d.SendCommand(IDOK);
        EXPECT_EQ(Rows(d.list().hwnd(), 2),
                  (std::vector<std::string>{"Alpha|Alpha.exe", "Charlie|Charlie.exe"}));
        EXPECT_EQ(ControlText(d, IDC_DETAILS_RESTORED),
                  "1 Program(s) are already Restored out of 3 Program(s)");
        d.SendCommand(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "1 Unwanted programs added to PC startup.");
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Bravo"), "Bravo.exe");
    std::vector<engine::StartupItem> left;
    history::ReadFixFile(file, left);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[1].name, "Charlie");
}

TEST_F(HistoryPageTest, TickingAnEntryThatIsActiveAgainUnticksIt) {
    const std::string file =
        WriteFix(kJanuary2027, "2 Programs fixed successfully", "Manual Fix", {"Skype", "Steam"});
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype-again.exe");
    // Asked through the Windows startups page when the main window has one, else the engine.
    views::CWndStartupsPage startups;
    for (const bool withStartupsPage : {false, true}) {
        if (withStartupsPage) {
            ASSERT_TRUE(host_.Add(controls::kWindowsStartupsPage, startups));
        }
        MessageBoxAnswers boxes;
        RunDetails(file, "Manual Fix", 2, [&](CHistoryDetailsDlg& d) {
            ListView_SetCheckState(d.list().hwnd(), 0, TRUE);
            ListView_SetCheckState(d.list().hwnd(), 1, TRUE);
            EXPECT_EQ(Rows(d.list().hwnd(), 1), (std::vector<std::string>{"Skype", "Steam+"}));
        });
        ASSERT_EQ(boxes.shown().size(), 1u);
        EXPECT_EQ(boxes.shown()[0].text, "'Skype' is already Resotred!");
        EXPECT_EQ(boxes.shown()[0].type, static_cast<UINT>(MB_ICONINFORMATION));
    }
}

TEST_F(HistoryPageTest, RestoringEverythingEndsWithOkAndTheFixLeavesThePage) {
    const std::string file =
        WriteFix(kJanuary2027, "2 Programs fixed successfully", "Manual Fix", {"Alpha", "Bravo"});
    ShowPage();
    ASSERT_EQ(ListView_GetItemCount(page_.list().hwnd()), 1);
    MessageBoxAnswers boxes;
    const INT_PTR result = RunDetails(file, "Manual Fix", 2, [&](CHistoryDetailsDlg& d) {
        ListView_SetCheckState(d.list().hwnd(), 0, TRUE);
        ListView_SetCheckState(d.list().hwnd(), 1, TRUE);
        d.SendCommand(IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, "2 Unwanted programs added to PC startup.");
    EXPECT_EQ(boxes.shown()[1].text, "There are no items to show");
    EXPECT_FALSE(history::FileExists(file));
    page_.Reload();
    EXPECT_EQ(ListView_GetItemCount(page_.list().hwnd()), 0);
}

TEST_F(HistoryPageTest, AnEntryThatCannotComeBackStaysInTheFix) {
    const std::string file = WriteFix(kJanuary2027, "2 Programs fixed successfully", "Manual Fix",
                                      {"Alpha"}, {"NotStored"});
    MessageBoxAnswers boxes;
    const INT_PTR result = RunDetails(file, "Manual Fix", 2, [&](CHistoryDetailsDlg& d) {
        ListView_SetCheckState(d.list().hwnd(), 0, TRUE);
        ListView_SetCheckState(d.list().hwnd(), 1, TRUE);
        d.SendCommand(IDOK);
        EXPECT_EQ(Rows(d.list().hwnd(), 1), (std::vector<std::string>{"NotStored"}));
        d.SendCommand(IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_FALSE(boxes.shown().empty());
    EXPECT_EQ(boxes.shown().back().text, "1 Unwanted programs added to PC startup.");
    std::vector<engine::StartupItem> left;
    history::ReadFixFile(file, left);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].name, "NotStored");
}

TEST_F(HistoryPageTest, AMissingFixFileSaysSoAndTheDialogStays) {
    MessageBoxAnswers boxes;
    history::SelectedHistoryFix() = {"Manual Fix", 1};
    CHistoryDetailsDlg details(history::FixFilePathOf(kJanuary2027));
    RunModal(details, [&](controls::CDialog& d) {
        PumpUntil([&] { return !boxes.shown().empty(); });
        EXPECT_TRUE(d.IsOpen());
    });
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "There are no items to show here");
    EXPECT_EQ(boxes.shown()[0].type, static_cast<UINT>(MB_OK));
}

TEST(LeadingNumberTest, TakesTheDigitsARemarksTextBeginsWith) {
    EXPECT_EQ(history::LeadingNumber("12 Scrap programs fixed successfully"), 12);
    EXPECT_EQ(history::LeadingNumber("Programs"), 0);
    EXPECT_EQ(history::LeadingNumber(""), 0);
    EXPECT_EQ(history::LeadingNumber("99999999999999 fixed"), 2147483647);
}

}  // namespace
