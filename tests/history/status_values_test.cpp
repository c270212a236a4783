#include "history/status_values.h"

#include "history/time_text.h"
#include "platform/clock.h"
#include "shell/core/settings_key.h"
#include "tests/support/data_folder.h"

#include <gtest/gtest.h>

namespace {

class StatusValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::ResetSettingsKey();
        platform::SetClockOverride([] { return std::int64_t{1796700000}; });
    }
    void TearDown() override { platform::SetClockOverride(nullptr); }
};

TEST_F(StatusValuesTest, AScanStoresItsCountTimeAndStatusZero) {
    history::StoreAutomaticRunStatus(4, 4);
    history::StoreScanStatus(0);
    EXPECT_EQ(shell::ReadSettingText("funwanted"), "0");
    EXPECT_EQ(shell::ReadSettingText("scanstatus"), "0");
    EXPECT_EQ(shell::ReadSettingText("lastscan"), history::DisplayTimeText(1796700000));
    EXPECT_EQ(shell::ReadSettingText("lastscan").size(), 19u);
    // The run's values are only replaced by the next run.
    EXPECT_EQ(shell::ReadSettingText("cunwanted"), "4");
}

TEST_F(StatusValuesTest, ARunStoresFixedRemainingTimeAndStatusOne) {
    history::StoreScanStatus(5);
    history::StoreAutomaticRunStatus(5, 3);
    EXPECT_EQ(shell::ReadSettingText("scanstatus"), "1");
    EXPECT_EQ(shell::ReadSettingText("cunwanted"), "3");
    EXPECT_EQ(shell::ReadSettingText("remaining"), "2");
    EXPECT_EQ(shell::ReadSettingText("lastclean"), history::DisplayTimeText(1796700000));
    EXPECT_EQ(shell::ReadSetting("funwanted", -1), 5);
    history::StoreFoundCount(17);
    EXPECT_EQ(shell::ReadSettingText("funwanted"), "17");
}

TEST(TimeText, LocalTimeInTheFixedPatterns) {
    SYSTEMTIME local;
    ASSERT_TRUE(platform::LocalTimeOf(1796700000, local));
    char expected[32];
    std::snprintf(expected, sizeof expected, "%02d/%02d/%04d %02d:%02d:%02d", local.wMonth,
                  local.wDay, local.wYear, local.wHour, local.wMinute, local.wSecond);
    EXPECT_EQ(history::DisplayTimeText(1796700000), expected);
    EXPECT_EQ(history::FixFileStamp(1796700000).size(), 14u);
    // Times no clock can show give empty text instead of garbage.
    EXPECT_EQ(history::DisplayTimeText(INT64_MIN), "");
    EXPECT_EQ(history::DisplayTimeText(INT64_MAX), "");
}

}  // namespace
