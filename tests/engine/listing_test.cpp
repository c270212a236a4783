// The full listing on the prefix's real registry and Startup folders.

#include "engine/listing.h"
#include "engine/run_values.h"
#include "engine/shortcut.h"
#include "engine/startup_folders.h"
#include "engine/switching.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace testing_support;
using engine::StartupItem;

constexpr char kHkcuRun[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kHkcuRunOnce[] = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr char kHklmRun[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kHklmRunOnce[] = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

std::vector<std::string> Describe(const engine::StartupItemArray& items) {
    std::vector<std::string> lines;
    items.ForEach([&](const StartupItem& item) {
        lines.push_back(item.name + "|" + item.location + "|" + (item.enabled ? "on" : "off"));
    });
    return lines;
}

class Listing : public ::testing::Test {
protected:
    void SetUp() override { ResetStartupSources(); }
};

TEST_F(Listing, ReadsTheSourcesInTheirFixedOrder) {
    SetRunValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "MachineOnce", "once.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "MachineRun", "machine.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunOnceKey, "UserOnce", "useronce.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "UserRun", "user.exe");
    CreateShortcut(CommonStartupFolder(), "CommonTool.lnk", "C:\\windows\\notepad.exe", "");
    CreateShortcut(UserStartupFolder(), "UserTool.lnk", "C:\\windows\\notepad.exe", "-x");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "WasOff", "off.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Velbrook", "self.exe");
    ASSERT_TRUE(engine::DisableStartupItem({"WasOff", "off.exe", kHkcuRun, true},
                                           engine::ReportStyle::Free()));

    const std::vector<std::string> expected = {
        std::string("UserRun|") + kHkcuRun + "|on",
        std::string("UserOnce|") + kHkcuRunOnce + "|on",
        std::string("MachineRun|") + kHklmRun + "|on",
        std::string("MachineOnce|") + kHklmRunOnce + "|on",
        "UserTool|Startup|on",
        "CommonTool|Common Startup|on",
        "WasOff|HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run|off",
    };
    EXPECT_EQ(Describe(engine::ListStartupItems()), expected);
    EXPECT_EQ(engine::ListStartupItems(engine::EntryFilter::Active).size(), 6u);
    EXPECT_EQ(Describe(engine::ListStartupItems(engine::EntryFilter::Disabled)),
              std::vector<std::string>{expected.back()});
}

TEST_F(Listing, ReceiverRulesDropEmptyEntriesAndTheProductsOwnName) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "", "default-value.exe");  // the key's default value
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "vElBrOoK", "self.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "VELBROOK", "self.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Kept", "");
    const auto items = engine::ListStartupItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].name, "");
    EXPECT_EQ(items[0].command, "default-value.exe");
    EXPECT_EQ(items[1].name, "Kept");

    StartupItem empty{"", "", kHkcuRun, true};
    EXPECT_FALSE(engine::PassesReceiverRules(empty));
}

TEST_F(Listing, SameNameUnderBothRootsGivesTwoEntries) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Twin", "user.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Twin", "machine.exe");
    const auto items = engine::ListStartupItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].location, kHkcuRun);
    EXPECT_EQ(items[0].command, "user.exe");
    EXPECT_EQ(items[1].location, kHklmRun);
    EXPECT_EQ(items[1].command, "machine.exe");
}

TEST_F(Listing, LongNamesAndDataDoNotHideTheValuesAfterThem) {
    // Windows enumerates values in creation order, Wine by name: these names keep both orders
    // the same, so the long ones sit between short ones either way.
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "A-Before", "a.exe");
    const std::string longData(5000, 'd');
    const std::string longName = "C" + std::string(2000, 'n');
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "B-LongData", longData);
    SetRunValue(HKEY_CURRENT_USER, kRunKey, longName, "b.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "D-After", "c.exe");
    std::vector<StartupItem> seen;
    engine::EnumerateRunValues(HKEY_CURRENT_USER, "HKCU\\", "Run",
                               [&](const StartupItem& item) { seen.push_back(item); });
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[1].command, longData);
    EXPECT_EQ(seen[2].name, longName);
    EXPECT_EQ(seen[3].name, "D-After");
}

TEST_F(Listing, ValuesOfOtherTypesBecomeTextWithoutReadingPastTheirBytes) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "A-Expand", "%SystemRoot%\\x.exe", REG_EXPAND_SZ);
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "B-Binary", std::string("abc", 3), REG_BINARY);
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "C-Empty", "", REG_BINARY);
    const auto items = engine::ListStartupItems();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].command, "%SystemRoot%\\x.exe");  // not expanded
    EXPECT_EQ(items[1].command, "abc");
    EXPECT_EQ(items[2].command, "");
}

TEST_F(Listing, ShortcutsAreResolvedToTargetBlankArguments) {
    CreateShortcut(UserStartupFolder(), "WithArgs.lnk", "C:\\windows\\notepad.exe", "/a \"b c\"");
    CreateShortcut(UserStartupFolder(), "NoArgs.LNK", "C:\\windows\\notepad.exe", "");
    WriteFile(UserStartupFolder() + "\\Broken.lnk", "not a shell link");
    WriteFile(UserStartupFolder() + "\\desktop.ini", "[.ShellClassInfo]");
    std::map<std::string, std::string> commands;
    engine::EnumerateStartupFolder(HKEY_CURRENT_USER, "Startup", [&](const StartupItem& item) {
        EXPECT_EQ(item.location, "Startup");
        EXPECT_TRUE(item.enabled);
        commands[item.name] = item.command;
    });
    const std::map<std::string, std::string> expected = {
        {"WithArgs", "C:\\windows\\notepad.exe /a \"b c\""},
        {"NoArgs", "C:\\windows\\notepad.exe "},  // the separating blank stays
        {"Broken", ""},
    };
    EXPECT_EQ(commands, expected);
}

TEST_F(Listing, ResolverReusedAcrossLinksKeepsNothingFromThePreviousOne) {
    const auto first =
        CreateShortcut(UserStartupFolder(), "First.lnk", "C:\\windows\\notepad.exe", "--first");
    const auto second =
        CreateShortcut(UserStartupFolder(), "Second.lnk", "C:\\windows\\regedit.exe", "");
    const auto broken = UserStartupFolder() + "\\Broken.lnk";
    WriteFile(broken, "garbage");
    engine::ShortcutResolver resolver;
    EXPECT_EQ(resolver.Resolve(first), "C:\\windows\\notepad.exe --first");
    EXPECT_EQ(resolver.Resolve(second), "C:\\windows\\regedit.exe ");
    EXPECT_EQ(resolver.Resolve(broken), "");
    // Without the extension the path gets ".lnk" appended.
    EXPECT_EQ(engine::ResolveShortcutCommand(first.substr(0, first.size() - 4)),
              "C:\\windows\\notepad.exe --first");
}

TEST_F(Listing, StartupFoldersComeFromTheShell) {
    EXPECT_EQ(engine::GetShellFolderPath(HKEY_CURRENT_USER, "Startup"), UserStartupFolder());
    EXPECT_EQ(engine::GetShellFolderPath(HKEY_LOCAL_MACHINE, "Common Startup"),
              CommonStartupFolder());
    EXPECT_NE(UserStartupFolder(), CommonStartupFolder());
    EXPECT_EQ(engine::GetShellFolderPath(HKEY_CURRENT_USER, "No Such Folder Value"), "");
}

}  // namespace
