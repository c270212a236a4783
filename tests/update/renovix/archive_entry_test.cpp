// Archive entry names, attributes and times as the install step reads them.
#include "update/renovix/archive_entry.h"

#include <gtest/gtest.h>

#include <string>

namespace renovix {
namespace {

std::optional<std::string> Target(const std::string& stored) {
    return RelativeTargetOf(CleanArchiveName(stored));
}

TEST(ArchiveNameTest, CleaningKeepsClimbsAndDrivesInsideTheFolder) {
    EXPECT_EQ(CleanArchiveName("..\\..\\x.exe"), "x.exe");
    EXPECT_EQ(CleanArchiveName("..\\x.exe"), "..\\x.exe");  // left for the check
    EXPECT_EQ(Target("a\\..\\x.exe"), "x.exe");
    EXPECT_EQ(Target("..\\..\\x.exe"), "x.exe");
    EXPECT_EQ(Target("C:\\Windows\\x.dll"), "Windows\\x.dll");
    EXPECT_EQ(Target("/etc/x/../y"), "y");
    EXPECT_EQ(Target("d:/\\d:x"), "x");
    EXPECT_EQ(Target("sub/dir\\file.txt"), "sub\\dir\\file.txt");
    EXPECT_EQ(Target("folder/"), "folder");
    EXPECT_EQ(Target("\xc3\xa9:caf\xc3\xa9.txt"), "caf\xc3\xa9.txt");  // a two-byte drive letter
}

TEST(ArchiveNameTest, NamesThatCouldLandOutsideTheFolderAreRefused) {
    for (const char* name : {"..\\x.exe", "../x",         "..",       "a/..",     "./x",
                             "a/./b",     "\\\\?\\C:\\x", "//?/C:/x", "a\\C:\\x", "x.txt:stream",
                             "CON",       "nul.txt",      "sub/COM1", "lpt9.log", "conout$",
                             "x.",        "x ",           "dir./x",   "a\\\\b",   "",
                             "/",         "a*b",          "a?b",      "a|b",      "tab\tname"}) {
        EXPECT_EQ(Target(name), std::nullopt) << name;
    }
    // What the cleaning leaves is checked as it stands.
    EXPECT_EQ(RelativeTargetOf("\\\\server\\share\\x"), std::nullopt);
    EXPECT_EQ(RelativeTargetOf("a:b"), std::nullopt);
    EXPECT_EQ(Target("\\\\server\\share\\x"), "server\\share\\x");
    EXPECT_EQ(Target("console.txt"), "console.txt");
    EXPECT_EQ(Target("COM10"), "COM10");
    EXPECT_EQ(Target(".hidden"), ".hidden");
}

TEST(ArchiveNameTest, FolderEntriesEndInASeparator) {
    EXPECT_TRUE(NamesFolder("a/"));
    EXPECT_TRUE(NamesFolder("a\\b\\"));
    EXPECT_FALSE(NamesFolder("a"));
    EXPECT_FALSE(NamesFolder(""));
}

TEST(ArchiveAttributesTest, DosHostsCarryAttributesUnixHostsModeBits) {
    EXPECT_EQ(DecodeAttributes(0x0014, 0x23),
              kAttributeReadOnly | kAttributeHidden | kAttributeArchive);
    EXPECT_EQ(DecodeAttributes(0x0B00, 0x10), kAttributeDirectory);
    EXPECT_EQ(DecodeAttributes(0x0E00, 0xFFFFFFFF), 0x37u);
    const std::uint32_t unixFile = 0100644u << 16;  // rw-r--r--
    EXPECT_EQ(DecodeAttributes(0x0314, unixFile), kAttributeArchive);
    EXPECT_EQ(DecodeAttributes(0x0314, 0100444u << 16), kAttributeArchive | kAttributeReadOnly);
    EXPECT_EQ(DecodeAttributes(0x0314, 040755u << 16), kAttributeArchive | kAttributeDirectory);
}

std::string UtBlock(unsigned flags, std::initializer_list<std::uint32_t> times,
                    int declaredExtra = 0) {
    std::string block = {'U', 'T', 0, 0, static_cast<char>(flags)};
    for (auto t : times) {
        for (int i = 0; i < 4; ++i) {
            block += static_cast<char>((t >> (8 * i)) & 0xFF);
        }
    }
    const size_t size = block.size() - 4 + static_cast<size_t>(declaredExtra);
    block[2] = static_cast<char>(size & 0xFF);
    block[3] = static_cast<char>(size >> 8);
    return block;
}

TEST(ArchiveTimesTest, ExtendedTimestampReplacesTheTimesItHolds) {
    // An unrelated block first, then all three times.
    const std::string extra = std::string("\x01\x00\x02\x00xy", 6) + UtBlock(7, {1000, 2000, 3000});
    const UnixTimes all = ReadExtendedTimestamp(extra);
    EXPECT_EQ(all.lastWrite, 1000);
    EXPECT_EQ(all.lastAccess, 2000);
    EXPECT_EQ(all.creation, 3000);

    // The central directory's copy: flags for three, only the last-write time present.
    const UnixTimes central = ReadExtendedTimestamp(UtBlock(7, {1000}));
    EXPECT_EQ(central.lastWrite, 1000);
    EXPECT_FALSE(central.lastAccess);
    EXPECT_FALSE(central.creation);

    // Only creation flagged: the first time is the creation time; negative times are signed.
    const UnixTimes creation = ReadExtendedTimestamp(UtBlock(4, {0xFFFFFFFFu}));
    EXPECT_FALSE(creation.lastWrite);
    EXPECT_EQ(creation.creation, -1);

    // A block whose size runs past the field is not read.
    EXPECT_FALSE(ReadExtendedTimestamp(UtBlock(1, {1000}, 10)).lastWrite);

    EntryTimes times{1, 2, 3};
    ApplyExtendedTimestamp(UtBlock(1, {0}), times);
    EXPECT_EQ(times.lastWrite, 116444736000000000u);
    EXPECT_EQ(times.lastAccess, 2u);
    EXPECT_EQ(times.creation, 1u);
}

}  // namespace
}  // namespace renovix
