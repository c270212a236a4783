#include "cleanup/ignore_list_page.h"

#include "cleanup/ignore_list.h"
#include "controls/list_rows.h"
#include "tests/support/data_folder.h"
#include "tests/support/dialog_driver.h"
#include "tests/support/page_test_host.h"
#include "tests/cleanup/ignored_file_names.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;
using cleanup::CIgnoreListPage;

engine::StartupItem Entry(const std::string& name, const std::string& command) {
    engine::StartupItem item;
    item.name = name;
    item.command = command;
    return item;
}

class IgnoreListPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDataFolder();
        cleanup::LoadIgnoreList();
    }

    void Show() {
        ASSERT_TRUE(host_.Add(controls::kTabSettingsPage, page_));
        host_.SelectPage(controls::kTabSettingsPage);
        list_ = page_.Item(IDC_IGNORE_LIST);
    }
    std::vector<std::string> Rows() const {
        std::vector<std::string> rows;
        for (int row = 0; row < ListView_GetItemCount(list_); ++row) {
            rows.push_back(controls::RowText(list_, row, 0) + "|" +
                           controls::RowText(list_, row, 1));
        }
        return rows;
    }

    PageTestHost host_;
    CIgnoreListPage page_;
    HWND list_ = nullptr;
};

TEST_F(IgnoreListPageTest, ANameIgnoredTwiceShowsOnceAndLeavesWithBothRecords) {
    cleanup::AddToIgnoreList(Entry("Skype", "skype.exe"));
    cleanup::AddToIgnoreList(Entry("Steam", "steam.exe"));
    cleanup::AddToIgnoreList(Entry("SKYPE", "other.exe"));
    Show();
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Skype|skype.exe", "Steam|steam.exe"}));
    EXPECT_TRUE(::IsWindowEnabled(page_.Item(CIgnoreListPage::kRemoveButton)));

    MessageBoxAnswers boxes;
    ListView_SetCheckState(list_, 0, TRUE);
    page_.SendCommand(CIgnoreListPage::kRemoveButton);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text,
              "The selected prorgram(s) have been added back to Windows Startup program list.");
    EXPECT_EQ(boxes.shown()[0].type, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(IgnoredFileNames(), (std::vector<std::string>{"Steam"}));
    EXPECT_FALSE(cleanup::IsIgnored("skype"));
    EXPECT_TRUE(cleanup::IsIgnored("steam"));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"Steam|steam.exe"}));
}

TEST_F(IgnoreListPageTest, RemovingEveryRowDeletesTheFileAndDisablesRemove) {
    cleanup::AddToIgnoreList(Entry("Skype", "skype.exe"));
    cleanup::AddToIgnoreList(Entry("Steam", "steam.exe"));
    Show();
    MessageBoxAnswers boxes;
    ListView_SetCheckState(list_, 0, TRUE);
    ListView_SetCheckState(list_, 1, TRUE);
    page_.SendCommand(CIgnoreListPage::kRemoveButton);
    EXPECT_EQ(ReadFileBytes(cleanup::IgnoreFilePath()), "<missing>");
    EXPECT_TRUE(cleanup::IgnoredNames().empty());
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(::IsWindowEnabled(page_.Item(CIgnoreListPage::kRemoveButton)));
}

TEST_F(IgnoreListPageTest, RemoveWithNothingCheckedAsksForASelectionAndKeepsTheFile) {
    cleanup::AddToIgnoreList(Entry("Skype", "skype.exe"));
    cleanup::AddToIgnoreList(Entry("Skype", "skype.exe"));
    const std::string before = ReadFileBytes(cleanup::IgnoreFilePath());
    Show();
    MessageBoxAnswers boxes;
    page_.SendCommand(CIgnoreListPage::kRemoveButton);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Please select an item to remove from ignore list");
    EXPECT_EQ(ReadFileBytes(cleanup::IgnoreFilePath()), before);
    EXPECT_EQ(cleanup::IgnoredNames().size(), 2u);
}

TEST_F(IgnoreListPageTest, WithoutTheFileThePageIsEmptyAndBackGoesHome) {
    Show();
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(::IsWindowEnabled(page_.Item(CIgnoreListPage::kRemoveButton)));
    page_.SendCommand(CIgnoreListPage::kBackButton);
    EXPECT_EQ(host_.VisiblePage(), controls::kHomePage);
}

}  // namespace
