#include "cleanup/scrap_scan.h"

#include "cleanup/ignore_list.h"
#include "engine/switching.h"
#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

const std::string kHkcuRun = std::string("HKCU\\") + kRunKey;
const std::string kHkcuRunOnce = std::string("HKCU\\") + kRunOnceKey;
const std::string kHklmRun = std::string("HKLM\\") + kRunKey;
const std::string kHklmRunOnce = std::string("HKLM\\") + kRunOnceKey;

// "name @ location" of each found entry, in order.
std::vector<std::string> Found() {
    std::vector<std::string> found;
    cleanup::ScrapList().items.ForEach([&](const engine::StartupItem& item) {
        EXPECT_TRUE(item.enabled) << item.name;
        found.push_back(item.name + " @ " + item.location);
    });
    return found;
}

class ScrapScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        cleanup::LoadIgnoreList();
    }
    MessageBoxRecorder boxes_;
};

TEST_F(ScrapScanTest, OrderIsCatalogueThenSourceThenEnumeration) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Steam", "s1.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "skype", "k1.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "NotScrap", "x.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype.exe", "x.exe");  // a suffix: another name
    SetRunValue(HKEY_CURRENT_USER, kRunOnceKey, "AOL", "a.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Skype", "k2.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "adobe reader speed launch", "ar.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "Steam", "s2.exe");
    CreateShortcut(UserStartupFolder(), "Dropbox.lnk", "C:\\windows\\notepad.exe", "/d");
    CreateShortcut(UserStartupFolder(), "Other.lnk", "C:\\windows\\notepad.exe", "");
    CreateShortcut(CommonStartupFolder(), "dropbox.lnk", "C:\\windows\\notepad.exe", "");

    EXPECT_EQ(cleanup::ScanForScrapPrograms(), 8u);
    EXPECT_EQ(Found(), (std::vector<std::string>{
                           "adobe reader speed launch @ " + kHklmRun,
                           "AOL @ " + kHkcuRunOnce,
                           "Dropbox @ Startup",
                           "dropbox @ Common Startup",
                           "skype @ " + kHkcuRun,
                           "Skype @ " + kHklmRun,
                           "Steam @ " + kHkcuRun,
                           "Steam @ " + kHklmRunOnce,
                       }));
    const auto& dropbox = cleanup::ScrapList().items[2];
    EXPECT_NE(dropbox.command.find("notepad.exe /d"), std::string::npos) << dropbox.command;
    EXPECT_EQ(cleanup::ScrapList().items[4].command, "k1.exe");
}

TEST_F(ScrapScanTest, IgnoredNamesInAnyCaseAreLeftOut) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "k.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Skype", "k.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Steam", "s.exe");
    engine::StartupItem ignored;
    ignored.name = "SKYPE";
    ASSERT_EQ(cleanup::AddToIgnoreList(ignored), cleanup::IgnoreResult::Done);
    EXPECT_EQ(cleanup::ScanForScrapPrograms(), 1u);
    EXPECT_EQ(Found(), (std::vector<std::string>{"Steam @ " + kHklmRun}));
}

TEST_F(ScrapScanTest, SwitchedOffEntriesAreNeverScrap) {
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Steam", "s.exe");
    engine::StartupItem steam;
    steam.name = "Steam";
    steam.command = "s.exe";
    steam.location = kHklmRun;
    ASSERT_TRUE(engine::DisableStartupItem(steam, engine::ReportStyle::Free()));
    EXPECT_EQ(cleanup::ScanForScrapPrograms(), 0u);
}

TEST_F(ScrapScanTest, EachScanReplacesTheLastOne) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "k.exe");
    ASSERT_EQ(cleanup::ScanForScrapPrograms(), 1u);
    cleanup::ScrapList().items[0].enabled = false;  // unselected by the user
    EXPECT_EQ(cleanup::ScanForScrapPrograms(), 1u);
    EXPECT_TRUE(cleanup::ScrapList().items[0].enabled);
    ResetStartupSources();
    EXPECT_EQ(cleanup::ScanForScrapPrograms(), 0u);
    EXPECT_TRUE(cleanup::ScrapList().items.empty());
}

TEST_F(ScrapScanTest, CollectorDropsEmptyEntriesTheProductTheTrayHelperAndIgnoredNames) {
    engine::StartupItem item;
    item.command = "x.exe";
    EXPECT_TRUE(cleanup::PassesScrapCollectorRules(item));  // a command alone is enough
    item.command.clear();
    EXPECT_FALSE(cleanup::PassesScrapCollectorRules(item));
    for (const char* name : {"Velbrook", "VELBROOK", "KestrovanTray", "kestrovantray"}) {
        item.name = name;
        EXPECT_FALSE(cleanup::PassesScrapCollectorRules(item)) << name;
    }
    item.name = "Skype";
    EXPECT_TRUE(cleanup::PassesScrapCollectorRules(item));
    cleanup::AddToIgnoreList(item);
    EXPECT_FALSE(cleanup::PassesScrapCollectorRules(item));
}

}  // namespace
