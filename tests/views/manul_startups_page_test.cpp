// The Manual Fix page on a seeded machine: filters, saving, the history it writes, the red
// text of unsaved rows and the details of the selected entry.

#include "views/manul_startups_page.h"

#include "controls/list_rows.h"
#include "engine/disabled_store.h"
#include "history/fix_files.h"
#include "res/art_ids.h"
#include "tests/support/data_folder.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/page_test_host.h"
#include "tests/views/seeded_entries.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <memory>

using namespace testing_support;
using views::CManulStartupsPage;

namespace {

constexpr char kSaved[] = "Setting has been saved sucessfully.";

class ManualFixPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        ResetSettingsKey();
    }

    // Creates the page in its slot and shows it, as the main window would.
    void ShowPage() {
        ASSERT_TRUE(host_.Add(controls::kManualFixPage, page_));
        host_.SelectPage(controls::kManualFixPage);
        host_.selections.clear();
    }

    void ChooseFilter(int index) {
        HWND combo = page_.Item(IDC_MANUL_FILTER);
        ::SendMessage(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        ::SendMessage(page_.hwnd(), WM_COMMAND, MAKEWPARAM(IDC_MANUL_FILTER, CBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(combo));
    }

    int RowOf(const std::string& name) {
        for (int row = 0; row < page_.list().RowCount(); ++row) {
            if (page_.list().CellText(row, 0) == name) {
                return row;
            }
        }
        return -1;
    }

    void SetTick(const std::string& name, bool ticked) {
        const int row = RowOf(name);
        ASSERT_GE(row, 0) << name;
        page_.list().SetChecked(row, ticked);
    }

    std::vector<std::string> RowNames() {
        std::vector<std::string> names;
        for (int row = 0; row < page_.list().RowCount(); ++row) {
            names.push_back(page_.list().CellText(row, 0));
        }
        return names;
    }

    MessageBoxAnswers boxes_;
    PageTestHost host_;
    CManulStartupsPage page_;
};

using Names = std::vector<std::string>;

TEST_F(ManualFixPageTest, FiltersListTheirEntriesWithTheirHints) {
    SeedRunValue("Alpha", "C:\\alpha.exe");
    SeedRunValue("Bravo", "\"C:\\Program Files\\bravo.exe\" -tray");
    SeedRunValue("Charlie", "C:\\charlie.exe");
    ASSERT_TRUE(SwitchOff("Charlie"));
    ShowPage();

    EXPECT_EQ(RowNames(), (Names{"Alpha", "Bravo"}));
    EXPECT_EQ(page_.activeRowCount(), 2);
    EXPECT_TRUE(page_.list().IsChecked(0));
    EXPECT_EQ(ControlText(page_, IDC_MANUL_HINT),
              "Uncheck the programs you want to disable from startup.");
    // The command is shown without its outer quotes and blanks.
    EXPECT_EQ(page_.list().CellText(1, 1), "C:\\Program Files\\bravo.exe\" -tray");

    ChooseFilter(CManulStartupsPage::kDisabledPrograms);
    EXPECT_EQ(RowNames(), (Names{"Charlie"}));
    EXPECT_FALSE(page_.list().IsChecked(0));
    EXPECT_EQ(page_.activeRowCount(), 0);
    EXPECT_EQ(ControlText(page_, IDC_MANUL_HINT),
              "Click on the checkbox to activate any program at startup.");

    ChooseFilter(CManulStartupsPage::kAllPrograms);
    EXPECT_EQ(RowNames(), (Names{"Alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(page_.activeRowCount(), 2);
    EXPECT_EQ(ControlText(page_, IDC_MANUL_HINT),
              "Uncheck the programs you want to disable from startup.");

    // Changing the filter drops unsaved ticks.
    page_.list().SetChecked(0, false);
    ChooseFilter(CManulStartupsPage::kAllPrograms);
    EXPECT_TRUE(page_.list().IsChecked(0));
    EXPECT_TRUE(boxes_.shown().empty());

    // Charlie puts itself back: one row, ticked, its location marked.
    SeedRunValue("Charlie", "\"C:\\charlie.exe\"");
    ChooseFilter(CManulStartupsPage::kAllPrograms);
    EXPECT_EQ(RowNames(), (Names{"Alpha", "Bravo", "Charlie"}));
    EXPECT_TRUE(page_.list().IsChecked(2));
    EXPECT_EQ(page_.list().CellText(2, 2),
              "Returned: HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run");
}

TEST_F(ManualFixPageTest, UntickingThreeAndSavingRecordsOneManualFix) {
    for (const char* name : {"Alpha", "Bravo", "Charlie", "Delta"}) {
        SeedRunValue(name, std::string("C:\\") + name + ".exe");
    }
    ShowPage();
    for (const char* name : {"Alpha", "Bravo", "Delta"}) {
        SetTick(name, false);
    }
    page_.SendCommand(IDC_MANUL_SAVE);

    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].text, kSaved);
    EXPECT_EQ(boxes_.shown()[0].caption, "Velbrook");
    EXPECT_EQ(boxes_.shown()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(host_.selections, (std::vector<int>{controls::kHomePage}));

    const auto records = history::ReadHistory();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].remarks, "3 Programs fixed successfully");
    EXPECT_EQ(records[0].action, "Manual Fix");
    std::vector<engine::StartupItem> fixed;
    ASSERT_EQ(history::ReadFixFile(records[0].fixFilePath, fixed), history::ReadOutcome::Read);
    ASSERT_EQ(fixed.size(), 3u);
    EXPECT_EQ(fixed[0].name, "Alpha");
    EXPECT_EQ(fixed[2].name, "Delta");
    EXPECT_EQ(fixed[2].command, "C:\\Delta.exe");

    EXPECT_FALSE(RunValueExists("Alpha"));
    EXPECT_TRUE(RunValueExists("Charlie"));
    // The reload shows the machine: one active entry left.
    EXPECT_EQ(RowNames(), (Names{"Charlie"}));
}

TEST_F(ManualFixPageTest, TickingSwitchedOffEntriesSwitchesThemOnWithoutRecords) {
    SeedRunValue("Alpha", "C:\\alpha.exe");
    SeedRunValue("Bravo", "C:\\bravo.exe");
    ASSERT_TRUE(SwitchOff("Alpha"));
    ASSERT_TRUE(SwitchOff("Bravo"));
    ShowPage();
    ChooseFilter(CManulStartupsPage::kDisabledPrograms);
    ASSERT_EQ(page_.list().RowCount(), 2);
    SetTick("Alpha", true);
    SetTick("Bravo", true);
    page_.SendCommand(IDC_MANUL_SAVE);

    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].text, kSaved);
    EXPECT_TRUE(RunValueExists("Alpha"));
    EXPECT_TRUE(RunValueExists("Bravo"));
    EXPECT_TRUE(history::ReadHistory().empty());
    EXPECT_EQ(ReadFileBytes(history::HistoryFilePath()), "<missing>");
    EXPECT_EQ(page_.list().RowCount(), 0);
}

// A store record written by another tool, under a subkey named otherwise than its entry: it
// is found by its values, and a record that merely bears the entry's name is left alone.
TEST_F(ManualFixPageTest, ARecordUnderAnotherSubkeyNameSwitchesOnByItsValues) {
    const auto store = [](const std::string& subkey, const std::string& item,
                          const std::string& command) {
        HKEY key;
        ASSERT_EQ(
            ::RegCreateKeyExA(HKEY_LOCAL_MACHINE,
                              (std::string(engine::kStoreRegistryPath) + "\\" + subkey).c_str(), 0,
                              nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key, nullptr),
            ERROR_SUCCESS);
        for (const auto& [name, data] : {std::pair<const char*, std::string>{"hkey", "HKCU"},
                                         {"key", kRunKey},
                                         {"item", item},
                                         {"command", command}}) {
            ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>(data.size() + 1));
        }
        ::RegCloseKey(key);
    };
    store("Written by another tool", "Alpha", "C:\\alpha.exe");
    store("Alpha", "Bravo", "C:\\bravo.exe");  // Bravo's record, under Alpha's name
    ShowPage();
    ChooseFilter(CManulStartupsPage::kDisabledPrograms);
    ASSERT_EQ(RowNames().size(), 2u);
    SetTick("Alpha", true);
    page_.SendCommand(IDC_MANUL_SAVE);

    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].text, kSaved);
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Alpha"), "C:\\alpha.exe");
    EXPECT_FALSE(RunValueExists("Bravo"));
    EXPECT_EQ(RowNames(), Names{"Bravo"});  // still switched off, its record untouched
}

TEST_F(ManualFixPageTest, SavingWithNothingChangedShowsNothing) {
    SeedRunValue("Alpha", "C:\\alpha.exe");
    ShowPage();
    page_.SendCommand(IDC_MANUL_SAVE);
    page_.SendCommand(IDC_MANUL_QUIET_SAVE);

    EXPECT_TRUE(boxes_.shown().empty());
    EXPECT_TRUE(history::ReadHistory().empty());
    // Only the hidden save goes home when nothing changed.
    EXPECT_EQ(host_.selections, (std::vector<int>{controls::kHomePage}));
    EXPECT_EQ(RowNames(), (Names{"Alpha"}));
}

TEST_F(ManualFixPageTest, FailedSwitchOffIsNotRecordedAndTheReloadShowsTheMachine) {
    SeedRunValue("Alpha", "C:\\alpha.exe");
    SeedRunValue("Bravo", "C:\\bravo.exe");
    SeedRunValue("Charlie", "C:\\charlie.exe");
    ShowPage();
    SetTick("Alpha", false);
    SetTick("Bravo", false);
    // Removed behind the page's back: its switch fails.
    HKEY run = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &run),
              ERROR_SUCCESS);
    ::RegDeleteValueA(run, "Bravo");
    ::RegCloseKey(run);
    page_.SendCommand(IDC_MANUL_SAVE);

    // The engine's own failure message, then the success of the one that worked.
    ASSERT_EQ(boxes_.shown().size(), 2u);
    EXPECT_NE(boxes_.shown()[0].text.find("Bravo"), std::string::npos) << boxes_.shown()[0].text;
    EXPECT_EQ(boxes_.shown()[1].text, kSaved);
    const auto records = history::ReadHistory();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].remarks, "1 Programs fixed successfully");
    std::vector<engine::StartupItem> fixed;
    ASSERT_EQ(history::ReadFixFile(records[0].fixFilePath, fixed), history::ReadOutcome::Read);
    ASSERT_EQ(fixed.size(), 1u);
    EXPECT_EQ(fixed[0].name, "Alpha");
    EXPECT_EQ(RowNames(), (Names{"Charlie"}));
}

TEST_F(ManualFixPageTest, SaveWhereEverySwitchFailedClaimsNoSuccess) {
    SeedRunValue("Alpha", "C:\\alpha.exe");
    ShowPage();
    SetTick("Alpha", false);
    HKEY run = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &run),
              ERROR_SUCCESS);
    ::RegDeleteValueA(run, "Alpha");
    ::RegCloseKey(run);
    page_.SendCommand(IDC_MANUL_SAVE);

    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_NE(boxes_.shown()[0].text, kSaved);
    EXPECT_TRUE(history::ReadHistory().empty());
    EXPECT_EQ(page_.list().RowCount(), 0);
}

TEST_F(ManualFixPageTest, UnsavedRowIsDrawnInRedUntilReload) {
    SeedRunValue("Alpha", "C:\\alpha.exe");
    SeedRunValue("Bravo", "C:\\bravo.exe");
    ShowPage();
    SetTick("Bravo", false);
    RECT alpha{}, bravo{};
    ListView_GetItemRect(page_.list().hwnd(), RowOf("Alpha"), &alpha, LVIR_BOUNDS);
    ListView_GetItemRect(page_.list().hwnd(), RowOf("Bravo"), &bravo, LVIR_BOUNDS);

    Capture drawn = CaptureClient(page_.list().hwnd());
    EXPECT_GT(drawn.Count(RGB(255, 0, 0), bravo), 10);
    EXPECT_EQ(drawn.Count(RGB(255, 0, 0), alpha), 0);

    page_.Reload();
    drawn = CaptureClient(page_.list().hwnd());
    EXPECT_EQ(drawn.Count(RGB(255, 0, 0), bravo), 0);
}

// Where a click lands on a row: its box, or its text.
POINT PointOnRow(HWND list, int row, int fromLeft) {
    RECT bounds{};
    ListView_GetItemRect(list, row, &bounds, LVIR_BOUNDS);
    return {bounds.left + fromLeft, (bounds.top + bounds.bottom) / 2};
}

void ClickAt(HWND list, POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    // The button is up again before the list looks for a drag.
    ::PostMessage(list, WM_LBUTTONUP, 0, where);
    ::SendMessage(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PumpMessages();
}

TEST_F(ManualFixPageTest, BoxesTickByClickAndSpaceAndAnswerTheListsOwnQueries) {
    SeedRunValue("Alpha", "C:\\alpha.exe");
    SeedRunValue("Bravo", "C:\\bravo.exe");
    ShowPage();
    HWND list = page_.list().hwnd();
    const int bravo = RowOf("Bravo");

    ClickAt(list, PointOnRow(list, bravo, 8));
    EXPECT_FALSE(page_.list().IsChecked(bravo));
    // The list reports the box as a list with its own states would.
    EXPECT_EQ(ListView_GetCheckState(list, bravo), 0u);
    EXPECT_EQ(ListView_GetCheckState(list, RowOf("Alpha")), 1u);
    EXPECT_EQ(page_.detailsRow(), bravo);
    RECT bounds{};
    ListView_GetItemRect(list, bravo, &bounds, LVIR_BOUNDS);
    EXPECT_GT(CaptureClient(list).Count(RGB(255, 0, 0), bounds), 10);

    // A click on the text selects the row and leaves its box.
    ClickAt(list, PointOnRow(list, RowOf("Alpha"), 60));
    EXPECT_TRUE(page_.list().IsChecked(RowOf("Alpha")));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), RowOf("Alpha"));

    // The space bar ticks the focused row.
    page_.list().SelectRow(bravo);
    ::SendMessage(list, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessage(list, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(page_.list().IsChecked(bravo));
    ::SendMessage(list, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(page_.list().IsChecked(bravo));

    // Texts read through the list itself.
    EXPECT_EQ(controls::RowText(list, bravo, 0), "Bravo");
    EXPECT_EQ(controls::RowText(list, bravo, 1), "C:\\bravo.exe");

    page_.SendCommand(IDC_MANUL_SAVE);
    EXPECT_FALSE(RunValueExists("Bravo"));
    EXPECT_TRUE(RunValueExists("Alpha"));
}

TEST_F(ManualFixPageTest, SortingMovesEachRowWithItsBoxAndKeepsTheSelectedEntry) {
    for (const char* name : {"charlie", "Alpha", "delta", "Bravo"}) {
        SeedRunValue(name, std::string("C:\\") + name + ".exe");
    }
    ShowPage();
    HWND list = page_.list().hwnd();
    SetTick("delta", false);
    page_.list().SelectRow(RowOf("charlie"));

    page_.list().OnHeaderClick(0);
    EXPECT_EQ(RowNames(), (Names{"Alpha", "Bravo", "charlie", "delta"}));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), RowOf("charlie"));
    page_.list().OnHeaderClick(0);
    EXPECT_EQ(RowNames(), (Names{"delta", "charlie", "Bravo", "Alpha"}));
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), RowOf("charlie"));
    for (int row = 0; row < page_.list().RowCount(); ++row) {
        EXPECT_EQ(page_.list().ItemAt(row)->name, page_.list().CellText(row, 0)) << row;
        EXPECT_EQ(page_.list().IsChecked(row), page_.list().CellText(row, 0) != "delta") << row;
    }
    // By the command column, as shown.
    page_.list().OnHeaderClick(1);
    EXPECT_EQ(page_.list().CellText(0, 1), "C:\\Alpha.exe");

    // Typing a name's first letters selects its row.
    ::SendMessage(list, WM_CHAR, 'd', 1);
    EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), RowOf("delta"));

    page_.SendCommand(IDC_MANUL_SAVE);
    EXPECT_FALSE(RunValueExists("delta"));
    EXPECT_TRUE(RunValueExists("charlie"));
}

TEST_F(ManualFixPageTest, SaveAndCancelAreNoLargerThanTheirBitmaps) {
    ShowPage();
    // A larger button would show its grey face beside the bitmap on the white page.
    for (const auto& [id, bitmapId] : {std::pair{IDC_MANUL_SAVE, art::kSave.normal},
                                       std::pair{IDC_MANUL_CANCEL, art::kCancel.normal}}) {
        HBITMAP bitmap = ::LoadBitmap(::GetModuleHandle(nullptr), MAKEINTRESOURCE(bitmapId));
        ASSERT_NE(bitmap, nullptr) << bitmapId;
        BITMAP info{};
        ::GetObject(bitmap, sizeof info, &info);
        ::DeleteObject(bitmap);
        const RECT button = ControlRect(page_, static_cast<UINT>(id));
        EXPECT_EQ(button.right - button.left, info.bmWidth) << id;
        EXPECT_EQ(button.bottom - button.top, info.bmHeight) << id;
    }
}

std::string OwnPath() {
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::vector<unsigned> GenericIconPixels() {
    SHFILEINFOA info{};
    ::SHGetFileInfoA("null.exe", FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                     SHGFI_ICON | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES);
    auto pixels = IconPixels(info.hIcon);
    ::DestroyIcon(info.hIcon);
    return pixels;
}

TEST_F(ManualFixPageTest, DetailsShowThePublisherOfTheProgramOrDashes) {
    // This test program carries the product's version resource and no signature.
    std::string quoted = "\"";
    quoted.append(OwnPath()).append("\" /background");
    SeedRunValue("Versioned", quoted);
    SeedRunValue("Missing", "C:\\nowhere\\missing.exe /tray");
    SeedRunValue("Dashed", OwnPath() + " -background");
    ShowPage();
    // The page shows its first row's details when it is shown; the publishers come later.
    EXPECT_EQ(ControlText(page_, IDC_MANUL_PROGRAM_NAME), RowNames()[0]);
    ASSERT_TRUE(PumpUntil([&] {
        for (int row = 0; row < page_.list().RowCount(); ++row) {
            if (!page_.list().PublisherAt(row)) {
                return false;
            }
        }
        return true;
    }));

    const std::vector<unsigned> generic = GenericIconPixels();
    struct Case {
        const char* name;
        const char* publisher;  // the column's text; the details show "--" for none
        const char* signature;
        bool genericIcon;
    };
    for (const Case& c :
         {Case{"Versioned", "Velbrook (not verified)", "Not verified: not signed", false},
          Case{"Missing", "", "File not found", true},
          Case{"Dashed", "Velbrook (not verified)", "Not verified: not signed", false}}) {
        const int row = RowOf(c.name);
        ASSERT_GE(row, 0);
        EXPECT_EQ(page_.list().CellText(row, views::CListCtrlStartups::kPublisherColumn),
                  c.publisher)
            << c.name;
        // Selecting a row shows its details.
        page_.list().SelectRow(row);
        EXPECT_EQ(page_.detailsRow(), row) << c.name;
        EXPECT_EQ(ControlText(page_, IDC_MANUL_PROGRAM_NAME), c.name);
        EXPECT_EQ(ControlText(page_, IDC_MANUL_COMPANY), *c.publisher ? c.publisher : "--")
            << c.name;
        EXPECT_EQ(ControlText(page_, IDC_MANUL_DESCRIPTION),
                  *c.publisher ? "Velbrook page tests" : "")
            << c.name;
        EXPECT_EQ(ControlText(page_, IDC_MANUL_SIGNATURE), c.signature) << c.name;
        ASSERT_NE(page_.programIcon(), nullptr);
        const auto shown = reinterpret_cast<HICON>(
            ::SendMessage(page_.Item(IDC_MANUL_PROGRAM_ICON), STM_GETICON, 0, 0));
        EXPECT_EQ(shown, page_.programIcon());
        if (c.genericIcon) {
            EXPECT_EQ(IconPixels(shown), generic) << c.name;
        }
        ListView_SetItemState(page_.list().hwnd(), row, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    // The publisher column sorts like the others: the entry without one first.
    page_.list().SortByColumn(views::CListCtrlStartups::kPublisherColumn, 1);
    EXPECT_EQ(RowNames()[0], "Missing");
}

}  // namespace
