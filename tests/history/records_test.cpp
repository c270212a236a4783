// The record layouts byte by byte, decoding, cutting of long texts and torn files.

#include "cleanup/ignore_record.h"
#include "history/records.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using history::FieldText;

// The program's texts are UTF-8 here; the legacy code page is Latin-1, whose characters are
// U+0000 to U+00FF, one byte each (enough to tell legacy from marked UTF-8 fields).
bool Latin1OfUtf8(std::string_view text, std::string* legacy) {
    legacy->clear();
    for (size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            *legacy += text[i];
        } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < text.size()) {
            *legacy += static_cast<char>(((byte & 0x03) << 6) | (text[++i] & 0x3F));
        } else {
            return false;
        }
    }
    return true;
}

std::string Utf8OfLatin1(std::string_view legacy) {
    std::string text;
    for (const char c : legacy) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

std::string Same(std::string_view text) { return std::string(text); }

const FieldText kSingleByte{Latin1OfUtf8, Utf8OfLatin1, Same, Same, nullptr};
// A double-byte legacy code page (the Shift-JIS lead bytes) whose program texts are the same
// bytes: every text has a legacy form.
const FieldText kDoubleByte{
    [](std::string_view text, std::string* legacy) {
        *legacy = std::string(text);
        return true;
    },
    Same, Same, Same,
    [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }};

std::string FieldAt(const std::string& bytes, size_t offset, size_t size) {
    return history::ReadTextField(bytes.data() + offset, size, kSingleByte);
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

    const auto parsed = history::ParseHistoryRecords(bytes, kSingleByte);
    ASSERT_EQ(parsed.size(), 1u);
    EXPECT_EQ(parsed[0].remarks, record.remarks);
    EXPECT_EQ(parsed[0].fixTime, record.fixTime);
    EXPECT_EQ(parsed[0].action, record.action);
    EXPECT_EQ(parsed[0].fixFilePath, record.fixFilePath);
}

TEST(HistoryRecordBytes, NegativeTimesAndFieldsWithoutTerminatorReadBack) {
    std::string bytes = history::EncodeHistoryRecord({"r", -2, "a", "p"}, kSingleByte);
    std::memset(bytes.data() + 268, 'x', 260);  // a written field without its zero
    const auto parsed = history::ParseHistoryRecords(bytes, kSingleByte);
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
    const auto parsed = history::ParseFixedItemRecords(bytes + bytes, kSingleByte);
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
    const auto parsed = cleanup::ParseIgnoreRecords(bytes, kSingleByte);
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
    const auto parsed = history::ParseFixedItemRecords(bytes, kSingleByte);
    EXPECT_EQ(parsed[0].location, std::string(1039, 'c'));
    EXPECT_EQ(parsed[0].name, std::string(259, 'n'));
    EXPECT_EQ(parsed[0].command, std::string(1039, 'c'));
    EXPECT_EQ(bytes[1039], '\0');
    EXPECT_EQ(bytes[1040 + 259], '\0');
}

TEST(RecordTexts, CutsNeverSplitATwoByteCharacter) {
    // 258 single bytes, then a two-byte character that would straddle the limit of 259.
    const std::string text = std::string(258, 'a') + "\x82\xA0" + "tail";
    EXPECT_EQ(history::CutAtCharBoundary(text, 259, kDoubleByte.isLeadByte), std::string(258, 'a'));
    EXPECT_EQ(history::CutAtCharBoundary(text, 260, kDoubleByte.isLeadByte), text.substr(0, 260));
    // Without lead bytes the cut is plain.
    EXPECT_EQ(history::CutAtCharBoundary(text, 259, nullptr), text.substr(0, 259));
    // A trail byte that looks like a lead byte is not taken for one.
    const std::string pairs = "\x81\x81\x81\x81";
    EXPECT_EQ(history::CutAtCharBoundary(pairs, 3, kDoubleByte.isLeadByte), "\x81\x81");

    const auto bytes = cleanup::EncodeIgnoreRecord({"n", text}, kDoubleByte);
    EXPECT_EQ(cleanup::ParseIgnoreRecords(bytes, kDoubleByte)[0].command, std::string(258, 'a'));
}

TEST(RecordTexts, ATextOutsideTheLegacyCodePageIsMarkedUtf8AndOldFieldsReadAsBefore) {
    // Latin-1 text keeps its one-byte form: "Café" is 43 61 66 E9, as today's version wrote it.
    const std::string cafe = "Caf\xC3\xA9";
    const auto legacy = cleanup::EncodeIgnoreRecord({cafe, "c"}, kSingleByte);
    EXPECT_EQ(legacy.substr(0, 5), std::string("Caf\xE9\0", 5));
    EXPECT_EQ(cleanup::ParseIgnoreRecords(legacy, kSingleByte)[0].name, cafe);

    // Cyrillic, CJK, an emoji (a surrogate pair in UTF-16) and a combining accent: the marker
    // (which an old reader takes for the text "?"), then UTF-8 and a zero.
    const std::string names[] = {"\xD0\xAF\xD0\xBD\xD0\xB4\xD0\xB5\xD0\xBA\xD1\x81",
                                 "\xE5\xBE\xAE\xE4\xBF\xA1", "Tool \xF0\x9F\x98\x80",
                                 "Cafe\xCC\x81"};
    for (const std::string& name : names) {
        const auto bytes = cleanup::EncodeIgnoreRecord({name, name}, kSingleByte);
        ASSERT_EQ(bytes.size(), 520u);
        EXPECT_EQ(bytes.substr(0, 8 + name.size() + 1),
                  std::string(history::kUtf8FieldMarker) + name + std::string(1, '\0'));
        EXPECT_EQ(history::RawFieldText(bytes.data(), 260), "?");
        const auto parsed = cleanup::ParseIgnoreRecords(bytes, kSingleByte);
        EXPECT_EQ(parsed[0].name, name);
        EXPECT_EQ(parsed[0].command, name);
    }
}

TEST(RecordTexts, AWholeTextFitsItsFieldOrTheRecordIsRefusedAndCutsKeepWholeCharacters) {
    const std::string cjk = "\xE5\xBE\xAE";  // three bytes in UTF-8, no Latin-1 form
    std::string longest;  // 8 marker bytes + 83 * 3 = 257 bytes, with the zero 258 <= 260
    for (int i = 0; i < 83; ++i) {
        longest += cjk;
    }
    const std::string location = "HKCU\\Run";
    EXPECT_TRUE(history::FixedItemRecordFits({location, longest, "c"}, kSingleByte));
    EXPECT_FALSE(history::FixedItemRecordFits({location, longest + cjk, "c"}, kSingleByte));
    EXPECT_TRUE(history::FixedItemRecordFits({location, std::string(259, 'n'), "c"}, kSingleByte));
    EXPECT_FALSE(history::FixedItemRecordFits({location, std::string(260, 'n'), "c"}, kSingleByte));
    EXPECT_FALSE(
        history::FixedItemRecordFits({location, "n", std::string(1040, 'c')}, kSingleByte));
    EXPECT_FALSE(history::FixedItemRecordFits({std::string(1040, 'l'), "n", "c"}, kSingleByte));

    // A cut of a marked field (history texts are cut, not refused) ends on a whole character.
    const auto bytes = history::EncodeFixedItemRecord({location, longest + cjk, "c"}, kSingleByte);
    EXPECT_EQ(history::ParseFixedItemRecords(bytes, kSingleByte)[0].name, longest);
}

TEST(TornFiles, AFragmentShorterThanARecordIsIgnoredWhereverItIsCut) {
    const std::string one =
        history::EncodeHistoryRecord({"1 x", 1, "Manual Fix", "p1"}, kSingleByte);
    const std::string two =
        history::EncodeHistoryRecord({"2 x", 2, "Manual Fix", "p2"}, kSingleByte);
    for (size_t cut : {size_t{1}, size_t{8}, size_t{260}, size_t{267}, size_t{527}, size_t{787}}) {
        const auto parsed = history::ParseHistoryRecords(one + two.substr(0, cut), kSingleByte);
        ASSERT_EQ(parsed.size(), 1u) << cut;
        EXPECT_EQ(parsed[0].fixFilePath, "p1") << cut;
    }
    EXPECT_TRUE(history::ParseFixedItemRecords(std::string(2339, 'x'), kSingleByte).empty());
    EXPECT_EQ(cleanup::ParseIgnoreRecords(std::string(520 * 2 + 519, 'x'), kSingleByte).size(), 2u);
    EXPECT_TRUE(history::ParseHistoryRecords({}, kSingleByte).empty());
}

}  // namespace
