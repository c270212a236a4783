#pragma once
// The records of data\history.dat and of the fix files, as bytes on disk. No <windows.h>.

#include "history/record_codec.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace history {

// One per fix, appended to data\history.dat.
struct HistoryRecord {
    std::string remarks;       // "3 Programs fixed successfully": the count comes first
    std::int64_t fixTime = 0;  // seconds since 1970, UTC; the instant the fix file is named after
    std::string action;        // "Automatic Fix" or "Manual Fix"
    std::string fixFilePath;   // full path of the fix file
};

// One per entry a fix switched off, in the order the fix handled them.
struct FixedItemRecord {
    std::string location;
    std::string name;
    std::string command;
};

namespace layout {
// The bytes as they lie in the files.
struct HistoryRecordBytes {
    char remarks[260];
    unsigned char fixTime[8];
    char action[260];
    char fixFilePath[260];
};
static_assert(sizeof(HistoryRecordBytes) == 788);
static_assert(offsetof(HistoryRecordBytes, remarks) == 0);
static_assert(offsetof(HistoryRecordBytes, fixTime) == 260);
static_assert(offsetof(HistoryRecordBytes, action) == 268);
static_assert(offsetof(HistoryRecordBytes, fixFilePath) == 528);

struct FixedItemRecordBytes {
    char location[1040];
    char name[260];
    char command[1040];
};
static_assert(sizeof(FixedItemRecordBytes) == 2340);
static_assert(offsetof(FixedItemRecordBytes, location) == 0);
static_assert(offsetof(FixedItemRecordBytes, name) == 1040);
static_assert(offsetof(FixedItemRecordBytes, command) == 1300);
}  // namespace layout

inline constexpr std::size_t kHistoryRecordSize = sizeof(layout::HistoryRecordBytes);
inline constexpr std::size_t kFixedItemRecordSize = sizeof(layout::FixedItemRecordBytes);

// Texts too long for their field are cut at a character boundary.
std::string EncodeHistoryRecord(const HistoryRecord& record, const FieldText& codec);
std::string EncodeFixedItemRecord(const FixedItemRecord& record, const FieldText& codec);
// Whether every text of the record fits its field whole: an entry is switched off only then,
// since a cut record could not switch it back on.
bool FixedItemRecordFits(const FixedItemRecord& record, const FieldText& codec);

// Every whole record in file order; a trailing fragment shorter than a record is ignored.
std::vector<HistoryRecord> ParseHistoryRecords(std::string_view bytes, const FieldText& codec);
std::vector<FixedItemRecord> ParseFixedItemRecords(std::string_view bytes, const FieldText& codec);

}  // namespace history
