// The record layouts byte by byte, decoding, cutting of long texts and torn files.

#include "cleanup/ignore_record.h"
#include "history/records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using history::LeadBytePredicate;

const LeadBytePredicate kSingleByte;  // no lead bytes, as in Windows-1252
// Lead bytes of a double-byte code page (the Shift-JIS ranges).
const LeadBytePredicate kDoubleByte = [](unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
};

std::string FieldAt(const std::string& bytes, size_t offset, size_t size) {
    return history::ReadTextField(bytes.data() + offset, size);
}

TEST(HistoryRecordBytes, FieldsLieAtTheirOffsetsAndTheTimeIsLittleEndian) {
    const history::HistoryRecord record{"3 Programs fixed successfully", 0x0102030405060708LL,
                                        "Manual Fix", "C:\\ProgramData\\Velbrook\\data\\x.dat"};
    const std::string bytes = history::EncodeHistoryRecord(record, kSingleByte);
    ASSERT_EQ(bytes.size(), 788u);
    EXPECT_EQ(FieldAt(bytes, 0, 260), record.remarks);
    const unsigned char time[8] = {8, 7, 6, 5, 4, 3, 2, 1};
    EXPECT_EQ(std::memcmp(bytes.data() + 260, time, 8), 0);
    EXPECT_EQ(FieldAt(bytes, 268, 260), "Manual Fix");
    EXPECT_EQ(FieldAt(bytes, 528, 260), record.fixFilePath);
    // Every byte after a text's terminator is zero.
    EXPECT_EQ(bytes.find_first_not_of('\0', 268 + 10), 528u);

    const auto parsed = history::ParseHistoryRecords(bytes);
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].remarks, record.remarks);
    EXPECT_EQ(parsed[0].fixTime, record.fixTime);
    EXPECT_EQ(parsed[0].action, record.action);
    EXPECT_EQ(parsed[0].fixFilePath, record.fixFilePath);
}

TEST(HistoryRecordBytes, NegativeTimesAndFieldsWithoutTerminatorReadBack) {
    std::string bytes = history::EncodeHistoryRecord({"r", -2, "a", "p"}, kSingleByte);
    std::memset(bytes.data() + 268, 'x', 260);  // a written field without its zero
    const auto parsed = history::ParseHistoryRecords(bytes);
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].fixTime, -2);
    EXPECT_EQ(parsed[0].action, std::string(260, 'x'));
    EXPECT_EQ(parsed[0].fixFilePath, "p");
}

TEST(FixedItemRecordBytes, FieldsLieAtTheirOffsets) {
    const history::FixedItemRecord record{"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                          "Skype", "\"C:\\Skype\\Skype.exe\" /minimized"};
    const std::string bytes = history::EncodeFixedItemRecord(record, kSingleByte);
    ASSERT_EQ(bytes.size(), 2340u);
    EXPECT_EQ(FieldAt(bytes, 0, 1040), record.location);
    EXPECT_EQ(FieldAt(bytes, 1040, 260), "Skype");
    EXPECT_EQ(FieldAt(bytes, 1300, 1040), record.command);
    const auto parsed = history::ParseFixedItemRecords(bytes + bytes);
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[1].location, record.location);
    EXPECT_EQ(parsed[1].name, record.name);
    EXPECT_EQ(parsed[1].command, record.command);
}

TEST(IgnoreRecordBytes, NameThenCommandIn260ByteFields) {
    const std::string bytes = cleanup::EncodeIgnoreRecord({"Steam", "c:\\steam.exe"}, kSingleByte);
    ASSERT_EQ(bytes.size(), 520u);
    EXPECT_EQ(FieldAt(bytes, 0, 260), "Steam");
    EXPECT_EQ(FieldAt(bytes, 260, 260), "c:\\steam.exe");
    const auto parsed = cleanup::ParseIgnoreRecords(bytes);
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].name, "Steam");
    EXPECT_EQ(parsed[0].command, "c:\\steam.exe");
}

TEST(RecordTexts, LongTextsAreCutToTheFieldWithTheirTerminator) {
    const std::string longName(400, 'n');
    const std::string longCommand(2000, 'c');
    const auto bytes =
        history::EncodeFixedItemRecord({longCommand, longName, longCommand}, kSingleByte);
    ASSERT_EQ(bytes.size(), 2340u);
    const auto parsed = history::ParseFixedItemRecords(bytes);
    EXPECT_EQ(parsed[0].location, std::string(1039, 'c'));
    EXPECT_EQ(parsed[0].name, std::string(259, 'n'));
    EXPECT_EQ(parsed[0].command, std::string(1039, 'c'));
    EXPECT_EQ(bytes[1039], '\0');
    EXPECT_EQ(bytes[1040 + 259], '\0');
}

TEST(RecordTexts, CutsNeverSplitATwoByteCharacter) {
    // 258 single bytes, then a two-byte character that would straddle the limit of 259.
    const std::string text = std::string(258, 'a') + "\x82\xA0" + "tail";
    EXPECT_EQ(history::CutAtCharBoundary(text, 259, kDoubleByte), std::string(258, 'a'));
    EXPECT_EQ(history::CutAtCharBoundary(text, 260, kDoubleByte), text.substr(0, 260));
    // Without lead bytes the cut is plain.
    EXPECT_EQ(history::CutAtCharBoundary(text, 259, kSingleByte), text.substr(0, 259));
    // A trail byte that looks like a lead byte is not taken for one.
    const std::string pairs = "\x81\x81\x81\x81";
    EXPECT_EQ(history::CutAtCharBoundary(pairs, 3, kDoubleByte), "\x81\x81");

    const auto bytes = cleanup::EncodeIgnoreRecord({"n", text}, kDoubleByte);
    EXPECT_EQ(cleanup::ParseIgnoreRecords(bytes)[0].command, std::string(258, 'a'));
}

TEST(TornFiles, AFragmentShorterThanARecordIsIgnoredWhereverItIsCut) {
    const std::string one =
        history::EncodeHistoryRecord({"1 x", 1, "Manual Fix", "p1"}, kSingleByte);
    const std::string two =
        history::EncodeHistoryRecord({"2 x", 2, "Manual Fix", "p2"}, kSingleByte);
    for (size_t cut : {size_t{1}, size_t{8}, size_t{260}, size_t{267}, size_t{527}, size_t{787}}) {
        const auto parsed = history::ParseHistoryRecords(one + two.substr(0, cut));
        ASSERT_EQ(parsed.size(), 1u) << cut;
        EXPECT_EQ(parsed[0].fixFilePath, "p1") << cut;
    }
    EXPECT_TRUE(history::ParseFixedItemRecords(std::string(2339, 'x')).empty());
    EXPECT_EQ(cleanup::ParseIgnoreRecords(std::string(520 * 2 + 519, 'x')).size(), 2u);
    EXPECT_TRUE(history::ParseHistoryRecords({}).empty());
}

}  // namespace
