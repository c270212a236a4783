#include "cleanup/ignore_list.h"

#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_support;

engine::StartupItem Entry(const std::string& name, const std::string& command) {
    engine::StartupItem item;
    item.name = name;
    item.command = command;
    item.location = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    return item;
}

class IgnoreListTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetDataFolder();
        cleanup::LoadIgnoreList();
    }
};

TEST_F(IgnoreListTest, AddingTwiceKeepsTwoRecordsAndTwoNames) {
    ASSERT_EQ(cleanup::AddToIgnoreList(Entry("Skype", "skype.exe")), cleanup::IgnoreResult::Done);
    ASSERT_EQ(cleanup::AddToIgnoreList(Entry("Skype", "skype.exe")), cleanup::IgnoreResult::Done);
    EXPECT_EQ(ReadFileBytes(cleanup::IgnoreFilePath()).size(), 2u * 520);
    EXPECT_EQ(cleanup::IgnoredNames(), (std::vector<std::string>{"Skype", "Skype"}));
    const auto records = cleanup::ReadIgnoreRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].command, "skype.exe");
}

TEST_F(IgnoreListTest, MatchingIgnoresCaseButNotPartOfAName) {
    cleanup::AddToIgnoreList(Entry("Skype", "skype.exe"));
    EXPECT_TRUE(cleanup::IsIgnored("SKYPE"));
    EXPECT_TRUE(cleanup::IsIgnored("skype"));
    EXPECT_FALSE(cleanup::IsIgnored("Skype2"));
    EXPECT_FALSE(cleanup::IsIgnored("Skyp"));
}

TEST_F(IgnoreListTest, LoadReadsTheFileAndAMissingFileIsAnEmptyList) {
    cleanup::AddToIgnoreList(Entry("One", "1"));
    cleanup::AddToIgnoreList(Entry("Two", "2"));
    cleanup::LoadIgnoreList();
    EXPECT_EQ(cleanup::IgnoredNames(), (std::vector<std::string>{"One", "Two"}));
    ResetDataFolder();
    cleanup::LoadIgnoreList();
    EXPECT_TRUE(cleanup::IgnoredNames().empty());
    EXPECT_TRUE(cleanup::ReadIgnoreRecords().empty());
}

TEST_F(IgnoreListTest, ReplacingRewritesFileAndListAndEmptyDeletesTheFile) {
    cleanup::AddToIgnoreList(Entry("One", "1"));
    cleanup::AddToIgnoreList(Entry("Two", "2"));
    cleanup::AddToIgnoreList(Entry("One", "1"));
    ASSERT_EQ(cleanup::ReplaceIgnoreList({{"Two", "2"}, {"Three", "3"}}),
              cleanup::IgnoreResult::Done);
    const auto records = cleanup::ReadIgnoreRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].name, "Two");
    EXPECT_EQ(records[1].command, "3");
    EXPECT_EQ(cleanup::IgnoredNames(), (std::vector<std::string>{"Two", "Three"}));
    EXPECT_FALSE(FileExists(cleanup::IgnoreFilePath() + ".new"));

    ASSERT_EQ(cleanup::ReplaceIgnoreList({}), cleanup::IgnoreResult::Done);
    EXPECT_FALSE(FileExists(cleanup::IgnoreFilePath()));
    cleanup::LoadIgnoreList();
    EXPECT_TRUE(cleanup::IgnoredNames().empty());
}

TEST_F(IgnoreListTest, AFailedRewriteKeepsFileAndList) {
    cleanup::AddToIgnoreList(Entry("One", "1"));
    const std::string before = ReadFileBytes(cleanup::IgnoreFilePath());
    const std::string blocker = cleanup::IgnoreFilePath() + ".new";
    ASSERT_TRUE(::CreateDirectoryA(blocker.c_str(), nullptr));
    EXPECT_EQ(cleanup::ReplaceIgnoreList({{"Two", "2"}}), cleanup::IgnoreResult::WriteFailed);
    EXPECT_EQ(ReadFileBytes(cleanup::IgnoreFilePath()), before);
    EXPECT_EQ(cleanup::IgnoredNames(), (std::vector<std::string>{"One"}));
    ::RemoveDirectoryA(blocker.c_str());
}

TEST_F(IgnoreListTest, ANameTooLongForItsFieldIsRefusedAndALongCommandIsCut) {
    EXPECT_EQ(cleanup::AddToIgnoreList(Entry(std::string(260, 'n'), "x")),
              cleanup::IgnoreResult::NameTooLong);
    EXPECT_FALSE(FileExists(cleanup::IgnoreFilePath()));
    EXPECT_TRUE(cleanup::IgnoredNames().empty());
    EXPECT_EQ(cleanup::ReplaceIgnoreList({{std::string(300, 'n'), "x"}}),
              cleanup::IgnoreResult::NameTooLong);

    const std::string longest(259, 'n');
    ASSERT_EQ(cleanup::AddToIgnoreList(Entry(longest, std::string(500, 'c'))),
              cleanup::IgnoreResult::Done);
    cleanup::LoadIgnoreList();
    ASSERT_EQ(cleanup::IgnoredNames().size(), 1u);
    EXPECT_TRUE(cleanup::IsIgnored(longest));  // the stored name still matches its entry
    EXPECT_EQ(cleanup::ReadIgnoreRecords()[0].command, std::string(259, 'c'));
}

TEST_F(IgnoreListTest, ATornFileLosesOnlyItsFragmentAndTheNextAddIsAligned) {
    cleanup::AddToIgnoreList(Entry("One", "1"));
    const std::string path = cleanup::IgnoreFilePath();
    for (size_t cut : {size_t{520 + 1}, size_t{520 + 259}, size_t{520 + 519}}) {
        const std::string whole = ReadFileBytes(path).substr(0, 520);
        WriteFile(path, whole + whole.substr(0, cut - 520));
        cleanup::LoadIgnoreList();
        EXPECT_EQ(cleanup::IgnoredNames(), (std::vector<std::string>{"One"})) << cut;
        cleanup::AddToIgnoreList(Entry("Two", "2"));
        EXPECT_EQ(ReadFileBytes(path).size(), 2u * 520) << cut;
        const auto records = cleanup::ReadIgnoreRecords();
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[1].name, "Two") << cut;
        ResizeFile(path, 520);
    }
}

}  // namespace
