// Task Manager's switch (StartupApproved): entries it marked off are listed as switched off,
// left out of the scan, and switched on as Task Manager does it.

#include "cleanup/scrap_scan.h"
#include "engine/approval_value.h"
#include "engine/listing.h"
#include "engine/switching.h"
#include "tests/engine/run_locations.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;
using engine::StartupItem;

// First byte, three zero bytes, then a switch-off time.
std::string Approval(unsigned char first, size_t size = engine::kApprovalValueSize) {
    std::string value(size, '\0');
    if (size > 0) {
        value[0] = static_cast<char>(first);
    }
    for (size_t i = 4; i < size; ++i) {
        value[i] = static_cast<char>(0x10 + i);
    }
    return value;
}

std::string OnForm() { return std::string("\x02", 1) + std::string(11, '\0'); }

std::vector<std::string> Describe(const engine::StartupItemArray& items) {
    std::vector<std::string> lines;
    items.ForEach([&](const StartupItem& item) {
        lines.push_back(
            item.name + "|" + item.location + "|" + (item.enabled ? "on" : "off") +
            (!item.enabled && item.disabledBy == StartupItem::DisabledBy::StartupApproved
                 ? "|approval"
                 : ""));
    });
    return lines;
}

TEST(ApprovalValue, OnlyTheKnownSwitchedOffFormsCountAsOff) {
    EXPECT_TRUE(engine::IsApprovalOff(Approval(0x03), true));
    EXPECT_TRUE(engine::IsApprovalOff(Approval(0x07), true));
    EXPECT_FALSE(engine::IsApprovalOff(Approval(0x02), true));
    EXPECT_FALSE(engine::IsApprovalOff(Approval(0x06), true));
    // Unknown forms, sizes and types never hide an entry.
    EXPECT_FALSE(engine::IsApprovalOff(Approval(0x00), true));
    EXPECT_FALSE(engine::IsApprovalOff(Approval(0xFF), true));
    EXPECT_FALSE(engine::IsApprovalOff(Approval(0x03, 8), true));
    EXPECT_FALSE(engine::IsApprovalOff(Approval(0x03, 16), true));
    EXPECT_FALSE(engine::IsApprovalOff("", true));
    EXPECT_FALSE(engine::IsApprovalOff(Approval(0x03), false));
    EXPECT_EQ(engine::ApprovalOnValue(), OnForm());
}

class StartupApproved : public ::testing::Test {
protected:
    void SetUp() override { ResetStartupSources(); }
    MessageBoxRecorder boxes;
};

TEST_F(StartupApproved, MarkedEntriesAreListedOffInPlaceAndSwitchOnClearsTheMark) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "UserOff", "u.exe");
    SetApproval(HKEY_CURRENT_USER, "Run", "UserOff", Approval(0x03));
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "MachineOn", "m.exe", REG_SZ, KEY_WOW64_64KEY);
    SetApproval(HKEY_LOCAL_MACHINE, "Run", "MachineOn", Approval(0x02));
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "WowOff", "w.exe", REG_SZ, KEY_WOW64_32KEY);
    SetApproval(HKEY_LOCAL_MACHINE, "Run32", "WowOff", Approval(0x07));
    // A mark under Run means nothing to the 32-bit programs' key, and RunOnce has no switch.
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "WowOn", "wo.exe", REG_SZ, KEY_WOW64_32KEY);
    SetApproval(HKEY_LOCAL_MACHINE, "Run", "WowOn", Approval(0x03));
    SetRunValue(HKEY_CURRENT_USER, kRunOnceKey, "Once", "o.exe");
    SetApproval(HKEY_CURRENT_USER, "Run", "Once", Approval(0x03), REG_BINARY);
    CreateShortcut(UserStartupFolder(), "Tool.lnk", "C:\\windows\\notepad.exe", "");
    SetApproval(HKEY_CURRENT_USER, "StartupFolder", "Tool.lnk", Approval(0x03));
    CreateShortcut(CommonStartupFolder(), "Shared.lnk", "C:\\windows\\notepad.exe", "");
    SetApproval(HKEY_LOCAL_MACHINE, "StartupFolder", "Shared.lnk", Approval(0x03));
    // Odd values keep their entries on.
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "ShortValue", "s.exe");
    SetApproval(HKEY_CURRENT_USER, "Run", "ShortValue", Approval(0x03, 8));
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "TextValue", "t.exe");
    SetApproval(HKEY_CURRENT_USER, "Run", "TextValue", Approval(0x03), REG_SZ);

    const std::vector<std::string> expected = {
        "ShortValue|" + kHkcuRun + "|on",
        "TextValue|" + kHkcuRun + "|on",
        "UserOff|" + kHkcuRun + "|off|approval",
        "Once|" + kHkcuRun + "Once|on",
        "MachineOn|" + kHklmRun + "|on",
        "WowOff|" + kWowRun + "|off|approval",
        "WowOn|" + kWowRun + "|on",
        "Tool|Startup|off|approval",
        "Shared|Common Startup|off|approval",
    };
    const auto all = engine::ListStartupItems();
    EXPECT_EQ(Describe(all), expected);
    EXPECT_EQ(engine::ListStartupItems(engine::EntryFilter::Active).size(), 5u);

    for (size_t i = 0; i < all.size(); ++i) {
        if (!all[i].enabled) {
            EXPECT_TRUE(engine::EnableStartupItem(all[i], engine::ReportStyle::Free()))
                << all[i].name;
        }
    }
    EXPECT_EQ(GetApproval(HKEY_CURRENT_USER, "Run", "UserOff"), OnForm());
    EXPECT_EQ(GetApproval(HKEY_LOCAL_MACHINE, "Run32", "WowOff"), OnForm());
    EXPECT_EQ(GetApproval(HKEY_CURRENT_USER, "StartupFolder", "Tool.lnk"), OnForm());
    EXPECT_EQ(GetApproval(HKEY_LOCAL_MACHINE, "StartupFolder", "Shared.lnk"), OnForm());
    EXPECT_EQ(GetApproval(HKEY_LOCAL_MACHINE, "Run", "MachineOn"), Approval(0x02));  // untouched
    // The entries never moved.
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "UserOff"), "u.exe");
    EXPECT_TRUE(FileExists(UserStartupFolder() + "\\Tool.lnk"));
    EXPECT_EQ(engine::ListStartupItems(engine::EntryFilter::Disabled).size(), 0u);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(StartupApproved, TheScanLeavesMarkedEntriesOut) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Skype", "skype.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Steam", "steam.exe", REG_SZ, KEY_WOW64_32KEY);
    SetApproval(HKEY_CURRENT_USER, "Run", "Skype", Approval(0x03));
    engine::StartupItemArray found;
    ASSERT_EQ(cleanup::FindScrapPrograms(found), 1u);
    EXPECT_EQ(found[0].name, "Steam");
    EXPECT_EQ(found[0].location, kWowRun);

    SetApproval(HKEY_LOCAL_MACHINE, "Run32", "Steam", Approval(0x07));
    EXPECT_EQ(cleanup::FindScrapPrograms(found), 0u);
}

TEST_F(StartupApproved, SwitchingAStoredEntryBackOnAlsoClearsAStaleMark) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Tool", "t.exe");
    ASSERT_TRUE(
        engine::DisableStartupItem({"Tool", "t.exe", kHkcuRun, true}, engine::ReportStyle::Free()));
    SetApproval(HKEY_CURRENT_USER, "Run", "Tool", Approval(0x03));
    ASSERT_TRUE(
        engine::EnableStartupItem({"Tool", "t.exe", kHkcuRun, false}, engine::ReportStyle::Free()));
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Tool"), "t.exe");
    EXPECT_EQ(GetApproval(HKEY_CURRENT_USER, "Run", "Tool"), OnForm());
    EXPECT_EQ(Describe(engine::ListStartupItems()),
              std::vector<std::string>{"Tool|" + kHkcuRun + "|on"});
}

}  // namespace
