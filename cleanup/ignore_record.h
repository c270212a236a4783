#pragma once
// The 520-byte records of data\ignore.dat. No <windows.h>.

#include "history/record_codec.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cleanup {

struct IgnoreRecord {
    std::string name;     // the entry's name; the scan compares with it
    std::string command;  // shown as the "Location" of the ignore-list page
};

namespace layout {
struct IgnoreRecordBytes {
    char name[260];
    char command[260];
};
static_assert(sizeof(IgnoreRecordBytes) == 520);
static_assert(offsetof(IgnoreRecordBytes, name) == 0);
static_assert(offsetof(IgnoreRecordBytes, command) == 260);
}  // namespace layout

inline constexpr std::size_t kIgnoreRecordSize = sizeof(layout::IgnoreRecordBytes);
// The longest name in bytes that fits its field with the terminator.
inline constexpr std::size_t kIgnoreNameLimit = sizeof(layout::IgnoreRecordBytes::name) - 1;

// Whether the name fits its field whole: a cut name would match another program.
bool IgnoreNameFits(std::string_view name, const history::FieldText& codec);
// A command too long for its field is cut at a character boundary.
std::string EncodeIgnoreRecord(const IgnoreRecord& record, const history::FieldText& codec);
// Every whole record in file order; a trailing fragment is ignored.
std::vector<IgnoreRecord> ParseIgnoreRecords(std::string_view bytes,
                                             const history::FieldText& codec);

}  // namespace cleanup
