// Feeds arbitrary bytes to the install step's archive walk as a ZIP: every entry's name is
// cleaned and checked, its attributes and times decoded and its data read in pieces. A name
// that passes the check must never climb out of the folder.
#include "update/renovix/archive_entry.h"
#include "update/renovix/zip_reader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto reader = renovix::ZipReader::OpenMemory(bytes);
    if (!reader) {
        return 0;
    }
    // Bounded: a forged count must not keep the fuzzer busy.
    for (std::uint64_t i = 0; i < reader->EntryCount() && i < 64 && reader->GoTo(i); ++i) {
        renovix::ZipEntryInfo info;
        if (!reader->ReadInfo(info)) {
            continue;
        }
        if (const auto target =
                renovix::RelativeTargetOf(renovix::CleanArchiveName(info.storedName))) {
            if (target->empty() || target->find("..\\") == 0 ||
                target->find(':') != std::string::npos || (*target)[0] == '\\' || *target == "..") {
                __builtin_trap();
            }
        }
        renovix::DecodeAttributes(info.versionMadeBy, info.externalAttributes);
        renovix::EntryTimes times;
        renovix::ApplyExtendedTimestamp(info.extraField, times);
        std::size_t total = 0;
        reader->ReadData([&](const char*, std::size_t n) {
            total += n;
            return total < (1u << 20);
        });
    }
    return 0;
}
