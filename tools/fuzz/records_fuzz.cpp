// Feeds arbitrary bytes to the readers of history.dat, the fix files and ignore.dat, and
// checks that what they read writes back to records of the same size.
#include "cleanup/ignore_record.h"
#include "history/records.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // Program texts and legacy texts are the same bytes; a text with a byte above 0x7F has no
    // legacy form, so both field forms are exercised.
    const auto same = [](std::string_view text) { return std::string(text); };
    const history::FieldText codec{[](std::string_view text, std::string* legacy) {
                                       *legacy = std::string(text);
                                       return text.find('\x80') == std::string_view::npos;
                                   },
                                   same, same, same, nullptr};
    for (const auto& record : history::ParseHistoryRecords(bytes, codec)) {
        if (history::EncodeHistoryRecord(record, codec).size() != history::kHistoryRecordSize) {
            __builtin_trap();
        }
    }
    for (const auto& record : history::ParseFixedItemRecords(bytes, codec)) {
        if (history::EncodeFixedItemRecord(record, codec).size() != history::kFixedItemRecordSize) {
            __builtin_trap();
        }
    }
    for (const auto& record : cleanup::ParseIgnoreRecords(bytes, codec)) {
        if (cleanup::EncodeIgnoreRecord(record, codec).size() != cleanup::kIgnoreRecordSize) {
            __builtin_trap();
        }
    }
    return 0;
}
