// Both registry views of a 64-bit machine: the 32-bit programs' Run keys, the store in the
// 64-bit view, and records that 32-bit programs left in the redirected store. Each view is
// seeded with the API and its view flag, so the test means the same in a 32- and a 64-bit
// build.

#include "engine/disabled_store.h"
#include "engine/listing.h"
#include "engine/switching.h"
#include "platform/registry_view.h"
#include "tests/engine/run_locations.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace testing_support;
using engine::StartupItem;

const std::string kStoreReg = std::string(engine::kStoreRegistryPath) + "\\";

std::vector<std::string> Describe(const engine::StartupItemArray& items) {
    std::vector<std::string> lines;
    items.ForEach([&](const StartupItem& item) {
        lines.push_back(item.name + "|" + item.location + "|" + (item.enabled ? "on" : "off"));
    });
    return lines;
}

StartupItem Listed(const std::string& name, const std::string& location) {
    StartupItem found;
    engine::ListStartupItems().ForEach([&](const StartupItem& item) {
        if (item.name == name && item.location == location) {
            found = item;
        }
    });
    EXPECT_EQ(found.name, name) << "not listed at " << location;
    return found;
}

class RegistryViews : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(platform::IsWindows64Bit()) << "the test prefix is a 64-bit one";
        ResetStartupSources();
    }
    MessageBoxRecorder boxes;
};

TEST_F(RegistryViews, BothViewsAreListedWithTheirLabelsInOrder) {
    SetRunValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "WowOnce", "wo.exe", REG_SZ, KEY_WOW64_32KEY);
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Wow", "w.exe", REG_SZ, KEY_WOW64_32KEY);
    SetRunValue(HKEY_LOCAL_MACHINE, kRunOnceKey, "NativeOnce", "no.exe", REG_SZ, KEY_WOW64_64KEY);
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Native", "n.exe", REG_SZ, KEY_WOW64_64KEY);
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "User", "u.exe");
    CreateShortcut(UserStartupFolder(), "Tool.lnk", "C:\\windows\\notepad.exe", "");
    const std::vector<std::string> expected = {
        "User|" + kHkcuRun + "|on",           "Native|" + kHklmRun + "|on",
        "NativeOnce|" + kHklmRunOnce + "|on", "Wow|" + kWowRun + "|on",
        "WowOnce|" + kWowRunOnce + "|on",     "Tool|Startup|on",
    };
    EXPECT_EQ(Describe(engine::ListStartupItems()), expected);
}

TEST_F(RegistryViews, EachViewRoundTripsThroughTheStoreOfThe64BitView) {
    // Text a 32-bit process would see rewritten to the "(x86)" folder if it wrote it into the
    // 32-bit view without the 64-bit view's handle.
    const std::string wowCommand = "%ProgramFiles%\\Wow\\w.exe /tray";
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Native", "n.exe", REG_SZ, KEY_WOW64_64KEY);
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Wow", wowCommand, REG_SZ, KEY_WOW64_32KEY);
    const auto style = engine::ReportStyle::Free();
    ASSERT_TRUE(engine::DisableStartupItem(Listed("Native", kHklmRun), style));
    ASSERT_TRUE(engine::DisableStartupItem(Listed("Wow", kWowRun), style));
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Native", nullptr, KEY_WOW64_64KEY),
              "<missing>");
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Wow", nullptr, KEY_WOW64_32KEY),
              "<missing>");

    // Both records are in the store the system configuration tool reads, and name their key.
    const auto wowRecord = StoreKeyValues(kStoreReg + "Wow", KEY_WOW64_64KEY);
    const std::vector<std::string> wowValues = {
        "hkey=1:HKLM\\0", "item=1:Wow\\0", "inimapping=1:0\\0", "command=1:" + wowCommand + "\\0",
        "key=1:" + kWowRunPath + "\\0"};
    for (const std::string& line : wowValues) {
        EXPECT_NE(std::find(wowRecord.begin(), wowRecord.end(), line), wowRecord.end()) << line;
    }
    for (const std::string time : {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"}) {
        EXPECT_EQ(std::count_if(
                      wowRecord.begin(), wowRecord.end(),
                      [&](const std::string& line) { return line.rfind(time + "=4:", 0) == 0; }),
                  1)
            << time;
    }
    const auto nativeRecord = StoreKeyValues(kStoreReg + "Native", KEY_WOW64_64KEY);
    EXPECT_NE(std::find(nativeRecord.begin(), nativeRecord.end(), "key=1:" + kRunPath + "\\0"),
              nativeRecord.end());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + "Wow", KEY_WOW64_32KEY));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + "Native", KEY_WOW64_32KEY));

    const std::vector<std::string> off = {"Native|" + kHklmRun + "|off", "Wow|" + kWowRun + "|off"};
    EXPECT_EQ(Describe(engine::ListStartupItems()), off);

    ASSERT_TRUE(engine::EnableStartupItem(Listed("Wow", kWowRun), style));
    ASSERT_TRUE(engine::EnableStartupItem(Listed("Native", kHklmRun), style));
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Wow", nullptr, KEY_WOW64_32KEY),
              wowCommand);
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Wow", nullptr, KEY_WOW64_64KEY),
              "<missing>");
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Native", nullptr, KEY_WOW64_64KEY),
              "n.exe");
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Native", nullptr, KEY_WOW64_32KEY),
              "<missing>");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + "Wow", KEY_WOW64_64KEY));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + "Native", KEY_WOW64_64KEY));
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(RegistryViews, ARecordInTheRedirectedStoreIsListedAndComesBackInto32BitView) {
    // As a 32-bit program writes it: the path it names means the 32-bit programs' key.
    platform::unique_hkey record;
    ASSERT_EQ(platform::reg::CreateKey(HKEY_LOCAL_MACHINE, kStoreReg + "Legacy",
                                       KEY_ALL_ACCESS | KEY_WOW64_32KEY, record),
              ERROR_SUCCESS);
    platform::reg::SetString(record.get(), "key", kRunPath);
    platform::reg::SetString(record.get(), "item", "Legacy");
    platform::reg::SetString(record.get(), "command", "legacy.exe -q");
    platform::reg::SetString(record.get(), "hkey", "HKLM");
    platform::reg::SetString(record.get(), "inimapping", "0");
    record.reset();
    // A record of the same name for the 64-bit key, in the 64-bit store, is another entry.
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Legacy", "native.exe", REG_SZ, KEY_WOW64_64KEY);
    ASSERT_TRUE(
        engine::DisableStartupItem(Listed("Legacy", kHklmRun), engine::ReportStyle::Free()));

    const std::vector<std::string> listed = {"Legacy|" + kHklmRun + "|off",
                                             "Legacy|" + kWowRun + "|off"};
    EXPECT_EQ(Describe(engine::ListStartupItems()), listed);

    ASSERT_TRUE(engine::EnableStartupItem(Listed("Legacy", kWowRun), engine::ReportStyle::Free()));
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Legacy", nullptr, KEY_WOW64_32KEY),
              "legacy.exe -q");
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Legacy", nullptr, KEY_WOW64_64KEY),
              "<missing>");
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kStoreReg + "Legacy", KEY_WOW64_32KEY));
    // The 64-bit entry is still switched off, its record untouched.
    EXPECT_EQ(
        Describe(engine::ListStartupItems()),
        (std::vector<std::string>{"Legacy|" + kWowRun + "|on", "Legacy|" + kHklmRun + "|off"}));
    EXPECT_TRUE(boxes.shown().empty());
}

}  // namespace
