// velbrookc's scan, fix, history, restore, ignore and status commands, run as a user would.

#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"
#include "tests/support/run_process.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace {

using namespace testing_support;
using nlohmann::json;

int Exit(const ProcessResult& run) { return static_cast<int>(run.exitCode); }

json JsonOf(const ProcessResult& run) {
    EXPECT_EQ(Exit(run), 0) << run.err;
    return json::parse(run.out);
}

class RecordCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        ResetSettingsKey();
    }
};

TEST_F(RecordCommandsTest, ScanListsScrapInOrderAndStoresTheScanStatus) {
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Steam", "steam.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Editor", "edit.exe");
    const json found = JsonOf(RunVelbrookc("scan --json"));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0]["name"], "Skype");
    EXPECT_EQ(found[0]["location"], std::string("HKCU\\") + kRunKey);
    EXPECT_EQ(found[0]["enabled"], true);
    EXPECT_EQ(found[1]["command"], "steam.exe");

    const json status = JsonOf(RunVelbrookc("status --json"));
    EXPECT_EQ(status["funwanted"], "2");
    EXPECT_EQ(status["scanstatus"], "0");
    EXPECT_EQ(status["lastscan"].get<std::string>().size(), 19u);
    EXPECT_EQ(status["cunwanted"], "");
    EXPECT_EQ(status.size(), 6u);
}

TEST_F(RecordCommandsTest, FixIsListedInTheHistoryAndRestoreTakesItBack) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Steam", "steam.exe");
    const json fixed = JsonOf(RunVelbrookc("fix --json"));
    ASSERT_EQ(fixed.size(), 2u);
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype"), "<missing>");

    const json status = JsonOf(RunVelbrookc("status --json"));
    EXPECT_EQ(status["scanstatus"], "1");
    EXPECT_EQ(status["cunwanted"], "2");
    EXPECT_EQ(status["remaining"], "0");

    const json fixes = JsonOf(RunVelbrookc("history --json"));
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0]["remarks"], "2 Scrap programs fixed successfully");
    EXPECT_EQ(fixes[0]["action"], "Automatic Fix");
    EXPECT_GT(fixes[0]["time"].get<long long>(), 1600000000LL);
    EXPECT_EQ(fixes[0]["time_text"].get<std::string>().size(), 19u);
    EXPECT_TRUE(FileExists(fixes[0]["fix_file"].get<std::string>()));

    const json entries = JsonOf(RunVelbrookc("history show 1 --json"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0]["name"], "Skype");
    EXPECT_EQ(entries[1]["location"], std::string("HKLM\\") + kRunKey);

    EXPECT_EQ(Exit(RunVelbrookc("restore 1 Skype")), 0);
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype"), "skype.exe");
    EXPECT_EQ(JsonOf(RunVelbrookc("history show 1 --json")).size(), 1u);
    EXPECT_EQ(Exit(RunVelbrookc("restore 1 Nobody")), 2);
    EXPECT_EQ(Exit(RunVelbrookc("restore 1")), 0);
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Steam"), "steam.exe");
    EXPECT_TRUE(JsonOf(RunVelbrookc("history --json")).empty());
    EXPECT_EQ(Exit(RunVelbrookc("history show 1")), 2);
}

TEST_F(RecordCommandsTest, DisableRecordsAManualFix) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Editor", "edit.exe");
    ASSERT_EQ(Exit(RunVelbrookc("disable Editor")), 0);
    const json fixes = JsonOf(RunVelbrookc("history --json"));
    ASSERT_EQ(fixes.size(), 1u);
    EXPECT_EQ(fixes[0]["remarks"], "1 Programs fixed successfully");
    EXPECT_EQ(fixes[0]["action"], "Manual Fix");
    EXPECT_EQ(JsonOf(RunVelbrookc("history show 1 --json"))[0]["command"], "edit.exe");
}

TEST_F(RecordCommandsTest, KeepOffSwitchesReturnsOffAgainAsOneFixButNotIgnoredOnes) {
    for (const char* name : {"Chat", "Pinned"}) {
        SetRunValue(HKEY_CURRENT_USER, kRunKey, name, "C:\\Apps\\1.2.0\\app.exe");
        ASSERT_EQ(Exit(RunVelbrookc(std::string("disable ") + name)), 0);
        SetRunValue(HKEY_CURRENT_USER, kRunKey, name, "C:\\Apps\\1.3.0\\app.exe");
    }
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Plain", "plain.exe");
    const json listed = JsonOf(RunVelbrookc("list --json"));
    ASSERT_EQ(listed.size(), 3u);  // one row per program
    for (const auto& row : listed) {
        EXPECT_EQ(row["returned"], row["name"] != "Plain") << row["name"];
    }
    ASSERT_EQ(Exit(RunVelbrookc("ignore add Pinned")), 0);

    const json kept = JsonOf(RunVelbrookc("keep-off --json"));
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0]["name"], "Chat");
    EXPECT_EQ(kept[0]["command"], "C:\\Apps\\1.3.0\\app.exe");
    const auto again = RunVelbrookc("keep-off");
    EXPECT_EQ(Exit(again), 0);
    EXPECT_NE(again.out.find("0 program(s) switched off again."), std::string::npos) << again.out;
    const json fixes = JsonOf(RunVelbrookc("history --json"));
    ASSERT_EQ(fixes.size(), 3u);
    EXPECT_EQ(fixes[2]["action"], "Kept Off");
    EXPECT_EQ(fixes[2]["remarks"], "1 Programs switched off again");
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Chat"), "<missing>");
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Pinned"), "C:\\Apps\\1.3.0\\app.exe");
}

TEST_F(RecordCommandsTest, IgnoredEntriesLeaveTheScanUntilRemoved) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    ASSERT_EQ(Exit(RunVelbrookc("ignore add skype")), 2);  // no such listed entry, no command
    ASSERT_EQ(Exit(RunVelbrookc("ignore add Skype")), 0);
    ASSERT_EQ(Exit(RunVelbrookc("ignore add SKYPE --command other.exe")), 0);
    const json ignored = JsonOf(RunVelbrookc("ignore list --json"));
    ASSERT_EQ(ignored.size(), 2u);
    EXPECT_EQ(ignored[0]["command"], "skype.exe");  // taken from the listing
    EXPECT_TRUE(JsonOf(RunVelbrookc("scan --json")).empty());

    EXPECT_EQ(Exit(RunVelbrookc("ignore remove Nobody")), 2);
    ASSERT_EQ(Exit(RunVelbrookc("ignore remove skype")), 0);
    EXPECT_TRUE(JsonOf(RunVelbrookc("ignore list --json")).empty());
    EXPECT_EQ(JsonOf(RunVelbrookc("scan --json")).size(), 1u);
}

TEST_F(RecordCommandsTest, ANameTooLongForTheIgnoreListIsRefusedClearly) {
    const ProcessResult run =
        RunVelbrookc("ignore add " + std::string(300, 'n') + " --command x.exe");
    EXPECT_EQ(Exit(run), 2);
    EXPECT_NE(run.err.find("longer than 259 characters"), std::string::npos) << run.err;
    EXPECT_TRUE(JsonOf(RunVelbrookc("ignore list --json")).empty());
}

}  // namespace
