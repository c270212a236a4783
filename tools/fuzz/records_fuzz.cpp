// Feeds arbitrary bytes to the readers of history.dat, the fix files and ignore.dat, and
// checks that what they read writes back to records of the same size.
#include "cleanup/ignore_record.h"
#include "history/records.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto noLeadBytes = [](unsigned char) { return false; };
    for (const auto& record : history::ParseHistoryRecords(bytes)) {
        if (history::EncodeHistoryRecord(record, noLeadBytes).size() !=
            history::kHistoryRecordSize) {
            __builtin_trap();
        }
    }
    for (const auto& record : history::ParseFixedItemRecords(bytes)) {
        if (history::EncodeFixedItemRecord(record, noLeadBytes).size() !=
            history::kFixedItemRecordSize) {
            __builtin_trap();
        }
    }
    for (const auto& record : cleanup::ParseIgnoreRecords(bytes)) {
        if (cleanup::EncodeIgnoreRecord(record, noLeadBytes).size() != cleanup::kIgnoreRecordSize) {
            __builtin_trap();
        }
    }
    return 0;
}
