// Walking archives with minizip: entries in order, their stored information, whole and broken
// data.
#include "update/renovix/zip_reader.h"

#include "tests/update/renovix/zip_maker.h"

#include <gtest/gtest.h>

namespace renovix {
namespace {

using testing_support::MakeZip;

std::string ReadAll(const ZipReader& reader, ZipReader::ReadResult& result, size_t& pieces) {
    std::string data;
    pieces = 0;
    result = reader.ReadData([&](const char* bytes, size_t size) {
        EXPECT_LE(size, ZipReader::kPieceBytes);
        data.append(bytes, size);
        ++pieces;
        return true;
    });
    return data;
}

TEST(ZipReaderTest, WalksEntriesInOrderWithTheirInformation) {
    const std::string big(40000, 'x');
    const std::string archive = MakeZip({
        {"first.txt", "hello", false, 0x0314, 0100644u << 16,
         std::string("UT\x05\x00\x01\x10\x00\x00\x00", 9)},
        {"dir/", "", true, 0x0B14, 0x10},
        {"dir/big.bin", big},
    });
    auto reader = ZipReader::OpenMemory(archive);
    ASSERT_TRUE(reader);
    ASSERT_EQ(reader->EntryCount(), 3u);

    ZipEntryInfo info;
    ASSERT_TRUE(reader->GoTo(0));
    ASSERT_TRUE(reader->ReadInfo(info));
    EXPECT_EQ(info.storedName, "first.txt");
    EXPECT_EQ(info.versionMadeBy, 0x0314);
    EXPECT_EQ(info.externalAttributes, 0100644u << 16);
    EXPECT_EQ(info.extraField, std::string("UT\x05\x00\x01\x10\x00\x00\x00", 9));
    EXPECT_EQ(info.dosDate, 0x5A214C60u);
    ZipReader::ReadResult result{};
    size_t pieces = 0;
    EXPECT_EQ(ReadAll(*reader, result, pieces), "hello");
    EXPECT_EQ(result, ZipReader::ReadResult::kWhole);

    ASSERT_TRUE(reader->GoTo(2));
    ASSERT_TRUE(reader->ReadInfo(info));
    EXPECT_EQ(info.storedName, "dir/big.bin");
    EXPECT_EQ(info.uncompressedSize, big.size());
    EXPECT_EQ(ReadAll(*reader, result, pieces), big);
    EXPECT_EQ(pieces, 3u);  // 16384-byte pieces
    EXPECT_EQ(result, ZipReader::ReadResult::kWhole);

    ASSERT_TRUE(reader->GoTo(1));  // back again
    ASSERT_TRUE(reader->ReadInfo(info));
    EXPECT_EQ(info.storedName, "dir/");
    EXPECT_FALSE(reader->GoTo(3));
}

TEST(ZipReaderTest, ACorruptedEntryIsBrokenAndAReceiverMayStop) {
    const std::string data = "the old program must stay";
    const std::string archive =
        testing_support::CorruptStoredData(MakeZip({{"a.exe", data, false}}), data);
    auto reader = ZipReader::OpenMemory(archive);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(reader->GoTo(0));
    ZipReader::ReadResult result{};
    size_t pieces = 0;
    ReadAll(*reader, result, pieces);
    EXPECT_EQ(result, ZipReader::ReadResult::kBroken);

    auto whole = ZipReader::OpenMemory(MakeZip({{"b", "data"}}));
    ASSERT_TRUE(whole && whole->GoTo(0));
    EXPECT_EQ(whole->ReadData([](const char*, size_t) { return false; }),
              ZipReader::ReadResult::kWriteFailed);
}

TEST(ZipReaderTest, BytesThatAreNoArchiveDoNotOpen) {
    EXPECT_FALSE(ZipReader::OpenMemory(""));
    EXPECT_FALSE(ZipReader::OpenMemory("PK\x03\x04 not really"));
    const std::string archive = MakeZip({{"a", "b"}});
    EXPECT_FALSE(ZipReader::OpenMemory(archive.substr(0, archive.size() - 30)));
}

}  // namespace
}  // namespace renovix
