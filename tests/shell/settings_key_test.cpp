#include "shell/core/settings_key.h"

#include "platform/registry.h"
#include "shell/core/data_path.h"
#include "tests/support/data_folder.h"

#include <gtest/gtest.h>

namespace {

class SettingsKeyTest : public ::testing::Test {
protected:
    void SetUp() override { testing_support::ResetSettingsKey(); }

    static void Store(const std::string& name, const std::string& data) {
        testing_support::StoreSetting(name, data);
    }
};

TEST_F(SettingsKeyTest, MissingKeyValueOrTextGivesTheDefault) {
    EXPECT_EQ(shell::ReadSetting("funwanted", 7), 7);
    Store("other", std::string("1\0", 2));
    EXPECT_EQ(shell::ReadSetting("funwanted", 7), 7);
    Store("empty", std::string("\0", 1));  // only the terminator
    EXPECT_EQ(shell::ReadSetting("empty", 7), 7);
    EXPECT_EQ(shell::ReadSettingText("missing"), "");
}

TEST_F(SettingsKeyTest, NumbersParseAndOverflowGivesTheDefault) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"17", 17},         {"-3", -3},
        {"abc", 0},  // letters read as 0
        {"12abc", 12},      {"2147483646", 2147483646},
        {"2147483647", 9},  {"-2147483648", 9},
        {"99999999999", 9}, {"-99999999999999999999999", 9},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(shell::WriteSetting(c.text, "n"), ERROR_SUCCESS);
        EXPECT_EQ(shell::ReadSetting("n", 9), c.expected) << c.text;
    }
}

TEST_F(SettingsKeyTest, WritesAreTerminatedStringsAndNullIsRefused) {
    EXPECT_EQ(shell::WriteSetting(3, "cunwanted"), ERROR_SUCCESS);
    platform::unique_hkey key;
    ASSERT_EQ(platform::reg::OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velbrook",
                                     KEY_READ | testing_support::kSettingsView, key),
              ERROR_SUCCESS);
    std::string data;
    DWORD type = 0;
    ASSERT_EQ(platform::reg::QueryValue(key.get(), "cunwanted", data, type), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(data, std::string("3\0", 2));
    EXPECT_EQ(shell::WriteSetting(nullptr, "cunwanted"), 13);
    EXPECT_EQ(shell::ReadSettingText("cunwanted"), "3");
}

TEST_F(SettingsKeyTest, OnlyTheFirst200BytesAreRead) {
    Store("long", "12" + std::string(300, '3') + std::string(1, '\0'));
    EXPECT_EQ(shell::ReadSettingText("long").size(), 200u);
}

TEST(DataPath, LiesBelowCommonAppDataAndCreatesOnlyTheRoot) {
    const std::string path = shell::DataPath("data\\nothing\\here.dat");
    EXPECT_NE(path.find("\\Velbrook\\data\\nothing\\here.dat"), std::string::npos) << path;
    const std::string root = path.substr(0, path.find("\\data\\nothing"));
    EXPECT_NE(::GetFileAttributesA(root.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(::GetFileAttributesA(shell::DataPath("data\\nothing").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST(DataPath, FoldersAreCreatedWithAllTheirParents) {
    const std::string deep = shell::DataPath("data\\a\\b\\c");
    ASSERT_TRUE(shell::CreateFolderWithParents(deep));
    EXPECT_TRUE(shell::PrepareDataFolder());
    ::RemoveDirectoryA(deep.c_str());
    ::RemoveDirectoryA(shell::DataPath("data\\a\\b").c_str());
    ::RemoveDirectoryA(shell::DataPath("data\\a").c_str());
}

}  // namespace
