#pragma once
// Builds ZIP archives for the tests with minizip's writer.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

struct ZipEntrySpec {
    ZipEntrySpec(std::string entryName, std::string entryData, bool deflated = true,
                 std::uint16_t madeBy = 0x0014, std::uint32_t attributes = 0x20,
                 std::string extra = {})
        : name(std::move(entryName)),
          data(std::move(entryData)),
          deflate(deflated),
          versionMadeBy(madeBy),
          externalAttributes(attributes),
          extraField(std::move(extra)) {}
    std::string name;
    std::string data;
    bool deflate = true;
    std::uint16_t versionMadeBy = 0x0014;  // host 0 (FAT)
    std::uint32_t externalAttributes = 0x20;
    std::string extraField;              // written to the local header and the central one
    std::uint32_t dosDate = 0x5A214C60;  // 2025-01-01 09:35:00
};

// The archive's bytes; throws when minizip fails.
std::string MakeZip(const std::vector<ZipEntrySpec>& entries);

// Flips a byte inside the stored data of the entry whose data is `data` (store method), so its
// CRC-32 no longer matches.
std::string CorruptStoredData(std::string archive, const std::string& data);

}  // namespace testing_support
