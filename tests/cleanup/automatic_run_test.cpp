#include "cleanup/automatic_run.h"

#include "history/fix_files.h"
#include "platform/clock.h"
#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

engine::StartupItem RunEntry(const std::string& name, bool selected = true) {
    engine::StartupItem item;
    item.name = name;
    item.command = name + ".exe";
    item.location = std::string("HKCU\\") + kRunKey;
    item.enabled = selected;
    return item;
}

class AutomaticRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        platform::SetClockOverride([] { return std::int64_t{1796700000}; });
    }
    void TearDown() override { platform::SetClockOverride(nullptr); }

    cleanup::AutomaticRunProgress Recording() {
        return {[this](const engine::StartupItem& entry, size_t index) {
                    started_.push_back(entry.name + "#" + std::to_string(index));
                },
                [this](size_t total, int fixed) { finished_.emplace_back(total, fixed); }};
    }

    std::vector<std::string> started_;
    std::vector<std::pair<size_t, int>> finished_;
    MessageBoxRecorder boxes_;
};

TEST_F(AutomaticRunTest, SwitchesOffSelectedEntriesAndRecordsEachSuccess) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "Skype.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Steam", "Steam.exe");
    engine::StartupItemArray items;
    items.Append(RunEntry("Skype"));
    items.Append(RunEntry("Steam", false));  // moved to the ignore list by the user
    items.Append(RunEntry("Gone"));          // vanished since the scan: its switch fails

    const auto outcome = cleanup::RunAutomaticFix(items, Recording());
    EXPECT_EQ(outcome.fixed, 1);
    EXPECT_TRUE(outcome.recorded);
    EXPECT_EQ(started_, (std::vector<std::string>{"Skype#0", "Steam#1", "Gone#2"}));
    ASSERT_EQ(finished_.size(), 1u);
    EXPECT_EQ(finished_[0], (std::pair<size_t, int>{3, 1}));
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype"), "<missing>");
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Steam"), "Steam.exe");
    ASSERT_EQ(boxes_.shown().size(), 1u);
    EXPECT_EQ(boxes_.shown()[0].text, "STARTUP ERROR: Disabled FailGone");

    const auto fixes = history::ListedFixes();
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0].remarks, "1 Scrap programs fixed successfully");
    EXPECT_EQ(fixes[0].action, "Automatic Fix");
    EXPECT_EQ(fixes[0].fixFilePath, outcome.fixFilePath);
    std::vector<engine::StartupItem> recorded;
    history::ReadFixFile(outcome.fixFilePath, recorded);
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].name, "Skype");
}

TEST_F(AutomaticRunTest, ARunThatFixesNothingStillLeavesItsRecordAndEmptyFixFile) {
    engine::StartupItemArray items;
    items.Append(RunEntry("Gone"));
    const auto outcome = cleanup::RunAutomaticFix(items, Recording());
    EXPECT_EQ(outcome.fixed, 0);
    ASSERT_EQ(finished_.size(), 1u);
    EXPECT_EQ(finished_[0], (std::pair<size_t, int>{1, 0}));
    const auto fixes = history::ListedFixes();
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0].remarks, "0 Scrap programs fixed successfully");
    EXPECT_EQ(ReadFileBytes(outcome.fixFilePath), "");
}

}  // namespace
