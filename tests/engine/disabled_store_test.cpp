// Reading switched-off entries back, including ones the system configuration tool wrote.

#include "engine/disabled_store.h"
#include "platform/registry.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace testing_support;
using engine::StartupItem;

void WriteKey(const std::string& path,
              const std::vector<std::pair<std::string, std::string>>& values) {
    platform::unique_hkey key;
    ASSERT_EQ(
        platform::reg::CreateKey(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS | KEY_WOW64_64KEY, key),
        ERROR_SUCCESS);
    for (const auto& [name, text] : values) {
        platform::reg::SetString(key.get(), name, text);
    }
}

std::vector<std::string> ReadAll() {
    std::vector<std::string> lines;
    engine::ReadDisabledEntries([&](const StartupItem& item) {
        EXPECT_FALSE(item.enabled);
        lines.push_back(item.name + "|" + item.command + "|" + item.location);
    });
    return lines;
}

class DisabledStore : public ::testing::Test {
protected:
    void SetUp() override { ResetStartupSources(); }
};

TEST_F(DisabledStore, ListsShortcutsFirstThenRegistryValuesAndSkipsIncompleteKeys) {
    const std::string reg = std::string(engine::kStoreRegistryPath) + "\\";
    const std::string folder = std::string(engine::kStoreFolderPath) + "\\";
    WriteKey(reg + "Machine", {{"hkey", "HKLM"},
                               {"key", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"},
                               {"item", "Machine"},
                               {"command", "m.exe"}});
    WriteKey(reg + "NoHkey", {{"key", "Software\\x"}, {"item", "NoHkey"}, {"command", "n.exe"}});
    WriteKey(reg + "EmptyHkey",
             {{"hkey", ""}, {"key", "Software\\x"}, {"item", "E"}, {"command", "e"}});
    // The subkey name plays no part in reading.
    WriteKey(reg + "written by another tool",
             {{"hkey", "HKCU"}, {"key", "Software\\Run"}, {"item", "Other"}, {"command", "o.exe"}});
    WriteKey(folder + "C:^Startup^Link.lnk",
             {{"item", "Link"}, {"command", "l.exe "}, {"location", "C:\\Startup\\"}});
    WriteKey(folder + "C:^Startup^NoLocation.lnk", {{"item", "NoLocation"}, {"command", "x"}});
    // A value of the wrong type is not a string.
    platform::unique_hkey key;
    platform::reg::CreateKey(HKEY_LOCAL_MACHINE, folder + "C:^Startup^Typed.lnk",
                             KEY_ALL_ACCESS | KEY_WOW64_64KEY, key);
    platform::reg::SetString(key.get(), "item", "Typed");
    platform::reg::SetString(key.get(), "command", "t");
    platform::reg::SetDword(key.get(), "location", 7);
    key.reset();

    auto lines = ReadAll();
    ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0], "Link|l.exe |C:\\Startup\\");
    std::sort(lines.begin() + 1, lines.end());  // the order of subkeys is the registry's
    EXPECT_EQ(lines[1], "Machine|m.exe|HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_EQ(lines[2], "Other|o.exe|HKCU\\Software\\Run");
}

TEST_F(DisabledStore, WithoutStoreKeysThereIsNothing) { EXPECT_TRUE(ReadAll().empty()); }

TEST(ShortcutStoreKeyName, UsesTheFullPathWithCaretsForBackslashes) {
    EXPECT_EQ(engine::ShortcutStoreKeyName(
                  "C:\\Documents and Settings\\All Users\\Start Menu\\Programs\\Startup\\Tool.lnk"),
              "C:^Documents and Settings^All Users^Start Menu^Programs^Startup^Tool.lnk");
    EXPECT_EQ(engine::ShortcutStoreKeyName(" \\C:\\a\\\\b^c\\Tool.lnk\\ "), "C:^a^b^c^Tool.lnk");
    EXPECT_EQ(engine::ShortcutStoreKeyName("\\\\ "), "");
}

}  // namespace
