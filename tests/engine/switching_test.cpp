// Disabling and enabling on the prefix's real registry, Startup folders and pss folder.

#include "engine/disabled_store.h"
#include "engine/listing.h"
#include "engine/switching.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace testing_support;
using engine::ReportStyle;
using engine::StartupItem;

const std::string kRunPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kRunOncePath = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::string kHkcuRun = "HKCU\\" + kRunPath;
const std::string kHklmRun = "HKLM\\" + kRunPath;
const std::string kStoreReg = std::string(engine::kStoreRegistryPath) + "\\";
const std::string kStoreFolder = std::string(engine::kStoreFolderPath) + "\\";
const HWND kPage = reinterpret_cast<HWND>(0x1234);

// The clock reads 2026-03-04 05:06:07 UTC; the store keeps its local time.
constexpr std::int64_t kFixedUtc = 1772600767;

std::vector<std::string> ExpectedTimeValues() {
    SYSTEMTIME local;
    EXPECT_TRUE(platform::CurrentLocalTime(local));
    return {"DAY=4:" + std::to_string(local.wDay),       "HOUR=4:" + std::to_string(local.wHour),
            "MINUTE=4:" + std::to_string(local.wMinute), "MONTH=4:" + std::to_string(local.wMonth),
            "SECOND=4:" + std::to_string(local.wSecond), "YEAR=4:" + std::to_string(local.wYear)};
}

std::vector<std::string> WithTime(std::vector<std::string> values) {
    for (auto& t : ExpectedTimeValues()) {
        values.push_back(t);
    }
    std::sort(values.begin(), values.end());
    return values;
}

class Switching : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        platform::SetClockOverride([] { return kFixedUtc; });
    }
    void TearDown() override { platform::SetClockOverride(nullptr); }

    MessageBoxRecorder boxes;
};

TEST_F(Switching, DisablingARunValueMovesItIntoTheStore) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Tool", "\"C:\\Tool\\tool.exe\" /tray");
    EXPECT_TRUE(engine::DisableStartupItem({"Tool", "\"C:\\Tool\\tool.exe\" /tray", kHkcuRun, true},
                                           ReportStyle::Page(kPage)));
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Tool"), "<missing>");
    EXPECT_EQ(StoreKeyValues(kStoreReg + "Tool"),
              WithTime({"command=1:\"C:\\Tool\\tool.exe\" /tray\\0", "hkey=1:HKCU\\0",
                        "inimapping=1:0\\0", "item=1:Tool\\0", "key=1:" + kRunPath + "\\0",
                        "regtype=4:1"}));
    EXPECT_TRUE(boxes.shown().empty());

    const auto items = engine::ListStartupItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name, "Tool");
    EXPECT_FALSE(items[0].enabled);
    EXPECT_EQ(items[0].location, kHkcuRun);

    EXPECT_TRUE(engine::EnableStartupItem(items[0], ReportStyle::Page(kPage)));
    DWORD type = 0;
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Tool", &type),
              "\"C:\\Tool\\tool.exe\" /tray");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + "Tool"));
}

TEST_F(Switching, LongRootNamesAreStoredShortAndRunOnceGoesBackToRunOnce) {
    SetRunValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "Once", "once.exe");
    const std::string location = "HKEY_LOCAL_MACHINE\\" + kRunOncePath;
    ASSERT_TRUE(
        engine::DisableStartupItem({"Once", "once.exe", location, true}, ReportStyle::Free()));
    const auto stored = StoreKeyValues(kStoreReg + "Once");
    EXPECT_NE(std::find(stored.begin(), stored.end(), "hkey=1:HKLM\\0"), stored.end());
    EXPECT_NE(std::find(stored.begin(), stored.end(), "key=1:" + kRunOncePath + "\\0"),
              stored.end());
    const auto disabled = engine::ListStartupItems(engine::EntryFilter::Disabled);
    ASSERT_EQ(disabled.size(), 1u);
    EXPECT_EQ(disabled[0].location, "HKLM\\" + kRunOncePath);
    EXPECT_TRUE(engine::EnableStartupItem(disabled[0], ReportStyle::Free()));
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "Once"), "once.exe");
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Once"), "<missing>");
}

TEST_F(Switching, ExpandableStringsComeBackExpandableAndOlderEntriesAsPlainStrings) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Expand", "%SystemRoot%\\x.exe", REG_EXPAND_SZ);
    ASSERT_TRUE(engine::DisableStartupItem({"Expand", "%SystemRoot%\\x.exe", kHkcuRun, true},
                                           ReportStyle::Free()));
    EXPECT_TRUE(engine::EnableStartupItem({"Expand", "", kHkcuRun, false}, ReportStyle::Free()));
    DWORD type = 0;
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Expand", &type), "%SystemRoot%\\x.exe");
    EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));

    // An entry the system configuration tool wrote has no type value.
    ASSERT_TRUE(engine::DisableStartupItem({"Expand", "", kHkcuRun, true}, ReportStyle::Free()));
    platform::unique_hkey key;
    platform::reg::OpenKey(HKEY_LOCAL_MACHINE, kStoreReg + "Expand",
                           KEY_ALL_ACCESS | KEY_WOW64_64KEY, key);
    platform::reg::DeleteValue(key.get(), engine::store::kValueType);
    key.reset();
    EXPECT_TRUE(engine::EnableStartupItem({"Expand", "", kHkcuRun, false}, ReportStyle::Free()));
    GetRunValue(HKEY_CURRENT_USER, kRunKey, "Expand", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(Switching, TheStoreKeepsWhatTheValueHoldsWhenItIsSwitchedOff) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Changed", "new.exe");
    ASSERT_TRUE(engine::DisableStartupItem({"Changed", "old.exe (as listed)", kHkcuRun, true},
                                           ReportStyle::Free()));
    EXPECT_TRUE(engine::EnableStartupItem({"Changed", "", kHkcuRun, false}, ReportStyle::Free()));
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Changed"), "new.exe");
}

TEST_F(Switching, AStoreKeyOfAnotherRunKeyIsNeverOverwritten) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Twin", "user.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Twin", "machine.exe");
    ASSERT_TRUE(
        engine::DisableStartupItem({"Twin", "user.exe", kHkcuRun, true}, ReportStyle::Free()));
    const auto before = StoreKeyValues(kStoreReg + "Twin");

    EXPECT_FALSE(engine::DisableStartupItem({"Twin", "machine.exe", kHklmRun, true},
                                            ReportStyle::Page(kPage)));
    EXPECT_FALSE(
        engine::DisableStartupItem({"Twin", "machine.exe", kHklmRun, true}, ReportStyle::Free()));
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Twin"), "machine.exe");
    EXPECT_EQ(StoreKeyValues(kStoreReg + "Twin"), before);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, "Failed to disable Twin");
    EXPECT_EQ(boxes.shown()[0].caption, "Warning");
    EXPECT_EQ(boxes.shown()[0].owner, kPage);
    EXPECT_EQ(boxes.shown()[0].type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
    EXPECT_EQ(boxes.shown()[1].text, "STARTUP ERROR: Disabled FailTwin");
    EXPECT_EQ(boxes.shown()[1].caption, "Error");
    EXPECT_EQ(boxes.shown()[1].owner, nullptr);
    EXPECT_EQ(boxes.shown()[1].type, static_cast<UINT>(MB_OK | MB_ICONERROR));

    // The same Run key again (the value came back after the first switch) replaces its record.
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Twin", "user2.exe");
    EXPECT_TRUE(
        engine::DisableStartupItem({"Twin", "user2.exe", kHkcuRun, true}, ReportStyle::Free()));
}

TEST_F(Switching, NothingIsReportedAsDisabledUnlessItWasStoredAndRemoved) {
    // Gone since it was listed.
    EXPECT_FALSE(
        engine::DisableStartupItem({"Gone", "gone.exe", kHkcuRun, true}, ReportStyle::Free()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + "Gone"));
    // The key's default value and names with a backslash have no store key of their own; an
    // empty name would otherwise write into (and on enabling delete) the whole store.
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Kept", "kept.exe");
    ASSERT_TRUE(
        engine::DisableStartupItem({"Kept", "kept.exe", kHkcuRun, true}, ReportStyle::Free()));
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "", "default.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "a\\b", "slash.exe");
    EXPECT_FALSE(
        engine::DisableStartupItem({"", "default.exe", kHkcuRun, true}, ReportStyle::Free()));
    EXPECT_FALSE(
        engine::DisableStartupItem({"a\\b", "slash.exe", kHkcuRun, true}, ReportStyle::Free()));
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, ""), "default.exe");
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "a\\b"), "slash.exe");
    EXPECT_TRUE(StoreKeyValues(engine::kStoreRegistryPath).empty());
    EXPECT_FALSE(engine::EnableStartupItem({"", "", kHkcuRun, false}, ReportStyle::Free()));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + "Kept"));
    // A value that is not text can't be stored faithfully.
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Number", std::string("\x01\x02\x03\x04", 4),
                REG_DWORD);
    EXPECT_FALSE(engine::DisableStartupItem({"Number", "", kHkcuRun, true}, ReportStyle::Free()));
    EXPECT_NE(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Number"), "<missing>");
    EXPECT_EQ(boxes.shown().size(), 4u);
}

TEST_F(Switching, EnablingWithoutAStoreKeyDoesNothingSilently) {
    EXPECT_FALSE(
        engine::EnableStartupItem({"Nothing", "", kHkcuRun, false}, ReportStyle::Page(kPage)));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Nothing"), "<missing>");
}

void WriteStoreEntry(const std::string& name,
                     const std::vector<std::pair<std::string, std::string>>& values) {
    platform::unique_hkey key;
    platform::reg::CreateKey(HKEY_LOCAL_MACHINE, kStoreReg + name, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                             key);
    for (const auto& [valueName, text] : values) {
        platform::reg::SetString(key.get(), valueName, text);
    }
}

TEST_F(Switching, AStoreEntryWithoutItemOrCommandIsNeverPutBack) {
    WriteStoreEntry("NoItem", {{"hkey", "HKCU"}, {"key", kRunPath}, {"command", "x.exe"}});
    WriteStoreEntry("NoCommand", {{"hkey", "HKCU"}, {"key", kRunPath}, {"item", "NoCommand"}});
    WriteStoreEntry("EmptyItem",
                    {{"hkey", "HKCU"}, {"key", kRunPath}, {"item", ""}, {"command", "y"}});
    for (const char* name : {"NoItem", "NoCommand", "EmptyItem"}) {
        EXPECT_FALSE(engine::EnableStartupItem({name, "", kHkcuRun, false}, ReportStyle::Free()))
            << name;
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + name)) << name;
    }
    platform::unique_hkey run;
    platform::reg::OpenKey(HKEY_CURRENT_USER, kRunPath, KEY_READ | KEY_WOW64_64KEY, run);
    platform::reg::Value value;
    EXPECT_EQ(platform::reg::EnumValue(run.get(), 0, value), ERROR_NO_MORE_ITEMS) << value.name;
    ASSERT_EQ(boxes.shown().size(), 3u);
    EXPECT_EQ(boxes.shown()[0].text, "Failed to enable NoItem, error = 2");
    EXPECT_EQ(boxes.shown()[2].text, "Failed to enable EmptyItem, error = 13");
}

TEST_F(Switching, ARunKeyThatCantBeOpenedIsReportedOnlyInFreeStyle) {
    WriteStoreEntry("Lost", {{"hkey", "HKCU"},
                             {"key", "Software\\No\\Such\\Key"},
                             {"item", "Lost"},
                             {"command", "lost.exe"}});
    EXPECT_FALSE(engine::EnableStartupItem({"Lost", "", "HKCU\\Software\\No\\Such\\Key", false},
                                           ReportStyle::Page(kPage)));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(engine::EnableStartupItem({"Lost", "", "HKCU\\Software\\No\\Such\\Key", false},
                                           ReportStyle::Free()));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Failed to enable Lost, error = 2");
    EXPECT_EQ(boxes.shown()[0].caption, "Error");
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + "Lost"));
}

class ShortcutSwitching : public Switching {};

std::vector<std::string> Describe(const engine::StartupItemArray& items) {
    std::vector<std::string> lines;
    items.ForEach([&](const StartupItem& item) {
        lines.push_back(item.name + "|" + (item.enabled ? "on" : "off"));
    });
    return lines;
}

TEST_F(ShortcutSwitching, DisablingAShortcutMovesItToThePssFolder) {
    const std::string folder = CommonStartupFolder();
    const std::string path = CreateShortcut(folder, "Tool.lnk", "C:\\windows\\notepad.exe", "/x");
    ASSERT_TRUE(engine::DisableStartupItem(
        {"Tool", "C:\\windows\\notepad.exe /x", "Common Startup", true}, ReportStyle::Free()));
    std::string keyName = path;
    std::replace(keyName.begin(), keyName.end(), '\\', '^');
    const std::string backup = PssFolder() + "Tool.lnk.CommonStartup";
    EXPECT_EQ(StoreKeyValues(kStoreFolder + keyName),
              WithTime({"backup=1:" + backup + "\\0", "backupExtension=1:.CommonStartup\\0",
                        "command=1:C:\\windows\\notepad.exe /x\\0", "item=1:Tool\\0",
                        "location=1:" + folder + "\\\\0", "path=1:" + path + "\\0"}));
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(FileExists(backup));

    const auto items = engine::ListStartupItems();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_FALSE(items[0].enabled);
    EXPECT_EQ(items[0].location, folder + "\\");

    // A file of that name that appeared since is overwritten by the backup.
    WriteFile(path, "newcomer");
    EXPECT_TRUE(engine::EnableStartupItem(items[0], ReportStyle::Free()));
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(backup));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStoreFolder + keyName));
    EXPECT_EQ(engine::ListStartupItems()[0].command, "C:\\windows\\notepad.exe /x");
}

TEST_F(ShortcutSwitching, TheNameMustMatchTheFileTitleExactly) {
    const auto path =
        CreateShortcut(UserStartupFolder(), "Tool.lnk", "C:\\windows\\notepad.exe", "");
    EXPECT_FALSE(
        engine::DisableStartupItem({"tool", "", "Startup", true}, ReportStyle::Page(kPage)));
    EXPECT_FALSE(
        engine::DisableStartupItem({"Tool", "", "Elsewhere", true}, ReportStyle::Page(kPage)));
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, engine::kStoreFolderPath));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(ShortcutSwitching, AnEarlierBackupOrRecordOfTheSameFileIsKept) {
    const auto path =
        CreateShortcut(UserStartupFolder(), "Tool.lnk", "C:\\windows\\notepad.exe", "");
    const std::string backup = PssFolder() + "Tool.lnk.Startup";
    WriteFile(backup, "earlier backup");
    EXPECT_FALSE(
        engine::DisableStartupItem({"Tool", "", "Startup", true}, ReportStyle::Page(kPage)));
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(StoreKeyValues(engine::kStoreFolderPath).empty());
    std::string keyName = path;
    std::replace(keyName.begin(), keyName.end(), '\\', '^');
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStoreFolder + keyName));

    ::DeleteFileA(backup.c_str());
    platform::unique_hkey record;
    platform::reg::CreateKey(HKEY_LOCAL_MACHINE, kStoreFolder + keyName,
                             KEY_ALL_ACCESS | KEY_WOW64_64KEY, record);
    platform::reg::SetString(record.get(), "item", "earlier");
    record.reset();
    EXPECT_FALSE(engine::DisableStartupItem({"Tool", "", "Startup", true}, ReportStyle::Free()));
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(backup));
    EXPECT_EQ(StoreKeyValues(kStoreFolder + keyName),
              std::vector<std::string>{"item=1:earlier\\0"});
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, "Failed to disable Tool");
    EXPECT_EQ(boxes.shown()[1].text, "STARTUP ERROR: Disabled FailTool");
}

TEST_F(ShortcutSwitching, ABackupDeletedByHandLeavesTheEntryStored) {
    CreateShortcut(UserStartupFolder(), "Tool.lnk", "C:\\windows\\notepad.exe", "");
    ASSERT_TRUE(engine::DisableStartupItem({"Tool", "", "Startup", true}, ReportStyle::Free()));
    ::DeleteFileA((PssFolder() + "Tool.lnk.Startup").c_str());
    const auto stored = engine::ListStartupItems(engine::EntryFilter::Disabled);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_FALSE(engine::EnableStartupItem(stored[0], ReportStyle::Page(kPage)));
    EXPECT_FALSE(engine::EnableStartupItem(stored[0], ReportStyle::Free()));
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text, "Failed to enable Tool");
    EXPECT_EQ(boxes.shown()[0].caption, "Warning");
    EXPECT_EQ(boxes.shown()[1].caption, "Error");
    EXPECT_EQ(engine::ListStartupItems(engine::EntryFilter::Disabled).size(), 1u);
}

TEST_F(ShortcutSwitching, EnablingPicksTheStoredShortcutOfTheRecordsFolder) {
    const auto user =
        CreateShortcut(UserStartupFolder(), "Same.lnk", "C:\\windows\\notepad.exe", "");
    const auto common =
        CreateShortcut(CommonStartupFolder(), "Same.lnk", "C:\\windows\\regedit.exe", "");
    ASSERT_TRUE(engine::DisableStartupItem({"Same", "", "Startup", true}, ReportStyle::Free()));
    ASSERT_TRUE(
        engine::DisableStartupItem({"Same", "", "Common Startup", true}, ReportStyle::Free()));
    // As a fix record keeps it: the active label.
    EXPECT_TRUE(
        engine::EnableStartupItem({"Same", "", "Common Startup", true}, ReportStyle::Free()));
    EXPECT_TRUE(FileExists(common));
    EXPECT_FALSE(FileExists(user));
    // As the store lists it: the folder.
    EXPECT_TRUE(engine::EnableStartupItem({"Same", "", UserStartupFolder() + "\\", false},
                                          ReportStyle::Free()));
    EXPECT_TRUE(FileExists(user));
}

TEST_F(ShortcutSwitching, ABackupThatCantBeDeletedKeepsTheEntrySwitchedOff) {
    const auto path =
        CreateShortcut(UserStartupFolder(), "Tool.lnk", "C:\\windows\\notepad.exe", "");
    ASSERT_TRUE(engine::DisableStartupItem({"Tool", "", "Startup", true}, ReportStyle::Free()));
    const std::string backup = PssFolder() + "Tool.lnk.Startup";
    // Another program reads the backup and does not share its deletion.
    platform::unique_hfile reader(::CreateFileA(backup.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(reader);
    const auto stored = engine::ListStartupItems(engine::EntryFilter::Disabled);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_FALSE(engine::EnableStartupItem(stored[0], ReportStyle::Page(kPage)));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, "Failed to enable Tool");
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(FileExists(backup));
    EXPECT_EQ(Describe(engine::ListStartupItems()), std::vector<std::string>{"Tool|off"});

    reader.reset();
    EXPECT_TRUE(engine::EnableStartupItem(stored[0], ReportStyle::Page(kPage)));
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(FileExists(backup));
    EXPECT_EQ(Describe(engine::ListStartupItems()), std::vector<std::string>{"Tool|on"});
}

// Gives a key a DACL that nobody passes, and hands it back to everyone when it goes, so that a
// failed check never leaves a key behind that later tests can't delete.
class PinnedKey {
public:
    explicit PinnedKey(const std::string& path) : path_(path) {
        platform::unique_hkey key;
        ok_ = platform::reg::CreateKey(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS | KEY_WOW64_64KEY,
                                       key) == ERROR_SUCCESS &&
              SetDacl(key.get(), &emptyAcl_);
    }
    ~PinnedKey() { Release(); }
    bool ok() const { return ok_; }
    bool Release() {
        platform::unique_hkey key;
        return platform::reg::OpenKey(HKEY_LOCAL_MACHINE, path_, WRITE_DAC | KEY_WOW64_64KEY,
                                      key) == ERROR_SUCCESS &&
               SetDacl(key.get(), nullptr);
    }

private:
    bool SetDacl(HKEY key, ACL* acl) {
        SECURITY_DESCRIPTOR sd;
        ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
        ::InitializeAcl(&emptyAcl_, sizeof emptyAcl_, ACL_REVISION);
        ::SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE);
        return ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    }
    std::string path_;
    ACL emptyAcl_{};
    bool ok_ = false;
};

TEST_F(Switching, AStoreKeyThatCantBeDeletedKeepsTheEntrySwitchedOff) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Tool", "t.exe");
    ASSERT_TRUE(engine::DisableStartupItem({"Tool", "t.exe", kHkcuRun, true}, ReportStyle::Free()));
    // A child key that nobody may delete keeps the store key from being deleted.
    PinnedKey pinned(kStoreReg + "Tool\\Pinned");
    ASSERT_TRUE(pinned.ok());

    EXPECT_FALSE(
        engine::EnableStartupItem({"Tool", "t.exe", kHkcuRun, false}, ReportStyle::Free()));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text.find("Failed to enable Tool, error = "), 0u);
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Tool"), "<missing>");
    EXPECT_EQ(Describe(engine::ListStartupItems()), std::vector<std::string>{"Tool|off"});

    // Its owner may still give the key a DACL that lets it go.
    ASSERT_TRUE(pinned.Release());
    EXPECT_TRUE(engine::EnableStartupItem({"Tool", "t.exe", kHkcuRun, false}, ReportStyle::Free()));
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Tool"), "t.exe");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + "Tool"));
}

}  // namespace
