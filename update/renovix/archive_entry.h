#pragma once
// What the install step makes of a ZIP entry's stored information: its name below the program
// folder, its file attributes and its times. Window-free: it works on the stored bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace renovix {

// The stored name (UTF-8) cleaned as the install step always has: repeated until nothing
// changes, a leading drive ("X:") goes, one leading backslash or slash goes, and everything up
// to and including "\..\", "\../", "/../" or "/..\" goes.
std::string CleanArchiveName(std::string_view name);

// The cleaned name as a path below the program folder: its parts joined with backslashes, or
// nothing when it could land anywhere else or name something that is not a plain file: a ".."
// or "." part, a colon (drives, streams), "\\?\" and UNC forms, device names (CON, NUL,
// COM1...), parts ending in a dot or blank, control and wildcard characters, or nothing left.
// A trailing separator (a folder entry) is dropped.
std::optional<std::string> RelativeTargetOf(std::string_view cleanedName);

// True when the name ends in a separator: a folder entry.
bool NamesFolder(std::string_view name);

// Windows file attributes of an entry: hosts 0 (FAT), 7, 11 (NTFS) and 14 (VFAT) store them in
// the low byte of the external attributes; for the others the high word holds Unix mode bits.
inline constexpr std::uint32_t kAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kAttributeHidden = 0x2;
inline constexpr std::uint32_t kAttributeSystem = 0x4;
inline constexpr std::uint32_t kAttributeDirectory = 0x10;
inline constexpr std::uint32_t kAttributeArchive = 0x20;
std::uint32_t DecodeAttributes(std::uint16_t versionMadeBy, std::uint32_t externalAttributes);

// The entry's times as Windows file times (100 ns since 1601, UTC).
struct EntryTimes {
    std::uint64_t creation = 0;
    std::uint64_t lastAccess = 0;
    std::uint64_t lastWrite = 0;
};

// Times of the "UT" (extended timestamp, tag 0x5455) block of an extra field, when present:
// flag bit 0 last write, bit 1 last access, bit 2 creation, each a signed 32-bit Unix time that
// follows in that order. Only times that the block really holds count (the central directory's
// copy keeps the flags but often only the last-write time).
struct UnixTimes {
    std::optional<std::int64_t> lastWrite, lastAccess, creation;
};
UnixTimes ReadExtendedTimestamp(std::string_view extraField);

std::uint64_t FileTimeOfUnixTime(std::int64_t seconds);

// Replaces the times that the "UT" block holds.
void ApplyExtendedTimestamp(std::string_view extraField, EntryTimes& times);

}  // namespace renovix
