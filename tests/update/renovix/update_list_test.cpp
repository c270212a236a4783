// The update list file and the answer's lines as the download dialog and the install step
// read them.
#include "update/renovix/update_list.h"

#include <gtest/gtest.h>

namespace renovix {
namespace {

TEST(UpdateListTest, ReadsTheFolderAndSevenFieldLinesOnly) {
    const UpdateList list = ParseUpdateList(
        "C:\\Program Files\\Velbrook\r\n"
        "Velbrook.exe\tx\t100\thttp://h/v.exe\t0\t1\tabcdefghij\r\n"
        "six\tfields\t1\t2\t3\t4\r\n"
        "eight\tfields\t1\t2\t3\t4\t5\t6\r\n"
        "pack.zip\t\\\t9\thttp://h/p.zip\t 1x\t0\tklmnopqrst\n");
    EXPECT_EQ(list.programFolder, "C:\\Program Files\\Velbrook");
    ASSERT_EQ(list.files.size(), 2u);
    EXPECT_EQ(list.files[0].destination, "Velbrook.exe");
    EXPECT_FALSE(list.files[0].isArchive);
    EXPECT_TRUE(list.files[0].runAfter);
    EXPECT_EQ(list.files[0].localName, "abcdefghij");
    EXPECT_TRUE(list.files[1].isArchive);
    EXPECT_FALSE(list.files[1].runAfter);
    EXPECT_EQ(list.files[1].localName, "klmnopqrst");
}

TEST(UpdateListTest, AShortFirstLineGivesWayToTheSecond) {
    EXPECT_EQ(ParseUpdateList("C:\r\nD:\\app\r\n").programFolder, "D:\\app");
    EXPECT_EQ(ParseUpdateList("\r\nX\r\n").programFolder, "X");  // taken whatever its length
    EXPECT_EQ(ParseUpdateList("C:\\\r\nD:\\app\r\n").programFolder, "C:\\");
    EXPECT_TRUE(ParseUpdateList("").programFolder.empty());
}

TEST(UpdateListTest, WritingThenReadingGivesTheSameFiles) {
    const std::string text =
        FormatUpdateList("C:\\app", {"a.exe\t\\\t5\thttps://h/a\t0\t0\tlocal00001"});
    EXPECT_EQ(text, "C:\\app\r\na.exe\t\\\t5\thttps://h/a\t0\t0\tlocal00001\r\n");
    const UpdateList list = ParseUpdateList(text);
    ASSERT_EQ(list.files.size(), 1u);
    EXPECT_EQ(DestinationOf(list.programFolder, list.files[0]), "C:\\app\\a.exe");
}

// The folder field "\\" once joined "D" and "x.dll" to "Dx.dll", a file beside the folder.
TEST(UpdateListTest, FolderAndNameAreJoinedWithExactlyOneBackslash) {
    const struct {
        const char* folder;
        const char* field;
        const char* destination;
    } cases[] = {{"D", "lib", "x.dll"}, {"D", "lib\\", "x.dll"}, {"D", "\\", "x.dll"},
                 {"D", "", "x.dll"},    {"D\\", "\\", "x.dll"},  {"D", "\\", "\\x.dll"}};
    for (const auto& c : cases) {
        ListedFile file;
        file.folder = c.field;
        file.destination = c.destination;
        EXPECT_EQ(DestinationOf(c.folder, file), "D\\x.dll") << c.folder << " " << c.field;
    }
}

TEST(UpdateListTest, LeadingIntegers) {
    EXPECT_EQ(LeadingInteger("  -12abc"), -12);
    EXPECT_EQ(LeadingInteger("+7"), 7);
    EXPECT_EQ(LeadingInteger("word"), 0);
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("99999999999999999999"), 2147483647);
    EXPECT_EQ(LeadingInteger("-99999999999999999999"), -2147483647 - 1);
}

TEST(AnswerHeaderTest, OutcomesInTheOrderTheDialogChecksThem) {
    EXPECT_EQ(ReadAnswerHeader("1\nh\t2.0\t1\t0\nf\n\n").outcome, AnswerHeader::kTooManyLines);
    EXPECT_EQ(ReadAnswerHeader("0\nh\t2.0\t1\t0\nf").outcome, AnswerHeader::kNothingToDo);
    EXPECT_EQ(ReadAnswerHeader("word\nh\t2.0\t1\t0").outcome, AnswerHeader::kNothingToDo);
    EXPECT_EQ(ReadAnswerHeader("1").outcome, AnswerHeader::kBadHeader);
    EXPECT_EQ(ReadAnswerHeader("1\nh\t2.0\t1").outcome, AnswerHeader::kBadHeader);
    const AnswerHeader ready = ReadAnswerHeader("3\nh\t2.0.0.1\t2\t77\nf\n");
    EXPECT_EQ(ready.outcome, AnswerHeader::kReady);
    EXPECT_EQ(ready.latestVersion, "2.0.0.1");
    EXPECT_EQ(ready.fileCount, 2);
}

TEST(AnswerHeaderTest, FileLinesAndTheirFields) {
    const std::string answer = "1\nh\t2\t2\t0\na\tb\t1536\thttp://x/a\t0\t0\nbad";
    const auto first = AnswerFileLine(answer, 0);
    ASSERT_TRUE(first);
    const auto file = SplitFileLine(*first);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->url, "http://x/a");
    EXPECT_EQ(file->size, 1536u);
    EXPECT_EQ(file->line, "a\tb\t1536\thttp://x/a\t0\t0");
    EXPECT_FALSE(SplitFileLine(*AnswerFileLine(answer, 1)));
    EXPECT_FALSE(AnswerFileLine(answer, 2));
    EXPECT_FALSE(AnswerFileLine(answer, -1));
    // A negative size once became a limit of 4 GiB.
    for (const char* size : {"-1", "-2147483648", "268435457", "99999999999"}) {
        EXPECT_FALSE(SplitFileLine(std::string("a\tb\t") + size + "\thttp://x/a\t0\t0")) << size;
    }
    EXPECT_TRUE(SplitFileLine("a\tb\t268435456\thttp://x/a\t0\t0"));
}

}  // namespace
}  // namespace renovix

namespace renovix {
namespace {

TEST(DownloadUrlTest, HttpsOrTheLoopbackAddressOnly) {
    for (const char* url : {"https://example.com/a.zip", "HTTPS://x/y", "http://127.0.0.1/a",
                            "http://127.0.0.1:8080/a", "http://127.0.0.1"}) {
        EXPECT_TRUE(IsAllowedDownloadUrl(url)) << url;
    }
    for (const char* url :
         {"http://example.com/a", "http://127.0.0.1@evil/a", "http://127.0.0.1.evil/a",
          "http://127.0.0.1:/a", "http://127.0.0.1:80@evil/", "ftp://127.0.0.1/", "https://",
          "file:///c:/x", ""}) {
        EXPECT_FALSE(IsAllowedDownloadUrl(url)) << url;
    }
}

}  // namespace
}  // namespace renovix
