// Data files written by the version before names of any script (tests/history/samples, made
// with that version's record encoders, Windows-1252 texts): read back with the same texts, and
// written again byte for byte.

#include "cleanup/ignore_list.h"
#include "history/fix_files.h"
#include "shell/core/data_path.h"
#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

std::string Sample(const std::string& name) { return ReadFileBytes(SAMPLES_DIR "\\" + name); }

class LegacyFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDataFolder();
        for (const char* name : {"history.dat", "03042026050607.dat", "ignore.dat"}) {
            const std::string bytes = Sample(name);
            ASSERT_NE(bytes, "<missing>") << name;
            WriteFile(shell::DataPath(std::string("data\\") + name), bytes);
        }
    }
};

TEST_F(LegacyFiles, ReadWithTheirTextsAndWriteBackTheSameBytes) {
    const auto history = history::ReadHistory();
    ASSERT_EQ(history.size(), 2u);
    EXPECT_EQ(history[0].remarks, "2 Programs fixed successfully");
    EXPECT_EQ(history[0].fixTime, 1772600767);
    EXPECT_EQ(history[1].action, "Automatic Fix");

    const std::string fixFile = shell::DataPath("data\\03042026050607.dat");
    std::vector<engine::StartupItem> items;
    ASSERT_EQ(history::ReadFixFile(fixFile, items), history::ReadOutcome::Read);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].name, "Caf\xC3\xA9 Sync");
    EXPECT_EQ(items[0].command, "\"C:\\Program Files\\Caf\xC3\xA9\\sync.exe\" /min");
    EXPECT_EQ(items[1].name, "\xC2\xB5Torrent");
    EXPECT_EQ(items[1].location, "Startup");
    EXPECT_EQ(items[2].name, "Zune\xC2\xAE");
    EXPECT_EQ(items[2].command, "zune.exe \xC2\xA7\xC2\xBD");
    ASSERT_TRUE(history::RewriteFixFile(fixFile, items));
    EXPECT_EQ(ReadFileBytes(fixFile), Sample("03042026050607.dat"));

    cleanup::LoadIgnoreList();
    EXPECT_EQ(cleanup::IgnoredNames(), (std::vector<std::string>{"\xC2\xB5Torrent", "Steam"}));
    EXPECT_TRUE(cleanup::IsIgnored("\xC2\xB5TORRENT"));
    ASSERT_EQ(cleanup::ReplaceIgnoreList(cleanup::ReadIgnoreRecords()),
              cleanup::IgnoreResult::Done);
    EXPECT_EQ(ReadFileBytes(cleanup::IgnoreFilePath()), Sample("ignore.dat"));
}

}  // namespace
