#include "update/renovix/archive_entry.h"

namespace renovix {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Length of the UTF-8 sequence that starts with byte c (1 for a stray continuation byte).
size_t SequenceLength(unsigned char c) {
    if (c >= 0xF0 && c < 0xF8) {
        return 4;
    }
    if (c >= 0xE0) {
        return c < 0xF0 ? 3 : 1;
    }
    return c >= 0xC0 ? 2 : 1;
}

bool CleanOnce(std::string& name) {
    // A leading drive: any one character followed by a colon.
    if (!name.empty()) {
        const size_t first = SequenceLength(static_cast<unsigned char>(name[0]));
        if (first < name.size() && name[first] == ':') {
            name.erase(0, first + 1);
            return true;
        }
    }
    if (!name.empty() && IsSeparator(name[0])) {
        name.erase(0, 1);
        return true;
    }
    for (const char* climb : {"\\..\\", "\\../", "/../", "/..\\"}) {
        const size_t at = name.find(climb);
        if (at != std::string::npos) {
            name.erase(0, at + 4);
            return true;
        }
    }
    return false;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$, with or without an extension.
bool IsDeviceName(std::string_view part) {
    const size_t dot = part.find('.');
    std::string stem;
    for (char c : part.substr(0, dot)) {
        stem += Upper(c);
    }
    while (!stem.empty() && stem.back() == ' ') {
        stem.pop_back();
    }
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (stem == device) {
            return true;
        }
    }
    return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
           stem[3] >= '1' && stem[3] <= '9';
}

bool IsAcceptablePart(std::string_view part) {
    if (part.empty() || part == "." || part == ".." || part.back() == '.' || part.back() == ' ' ||
        IsDeviceName(part)) {
        return false;
    }
    for (const char c : part) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F ||
            std::string_view("<>:\"|?*").find(c) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

std::uint32_t LittleEndian(std::string_view bytes, size_t at, size_t count) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < count; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

}  // namespace

std::string CleanArchiveName(std::string_view name) {
    std::string cleaned(name);
    while (CleanOnce(cleaned)) {
    }
    return cleaned;
}

bool NamesFolder(std::string_view name) { return !name.empty() && IsSeparator(name.back()); }

std::optional<std::string> RelativeTargetOf(std::string_view cleanedName) {
    std::string_view rest = cleanedName;
    if (NamesFolder(rest)) {
        rest.remove_suffix(1);
    }
    if (rest.empty() || IsSeparator(rest.front())) {
        return std::nullopt;  // nothing left, or a second separator: "\\server" and "\\?\"
    }
    std::string target;
    while (true) {
        const size_t end = rest.find_first_of("\\/");
        const std::string_view part = rest.substr(0, end);
        if (!IsAcceptablePart(part)) {
            return std::nullopt;
        }
        target += part;
        if (end == std::string_view::npos) {
            return target;
        }
        target += '\\';
        rest.remove_prefix(end + 1);
    }
}

std::uint32_t DecodeAttributes(std::uint16_t versionMadeBy, std::uint32_t externalAttributes) {
    const unsigned host = versionMadeBy >> 8;
    if (host == 0 || host == 7 || host == 11 || host == 14) {
        return externalAttributes & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem |
                                     kAttributeDirectory | kAttributeArchive);
    }
    std::uint32_t attributes = kAttributeArchive;
    if (externalAttributes & 0x40000000u) {
        attributes |= kAttributeDirectory;
    }
    if (!(externalAttributes & 0x800000u)) {
        attributes |= kAttributeReadOnly;
    }
    return attributes;
}

UnixTimes ReadExtendedTimestamp(std::string_view extra) {
    UnixTimes times;
    size_t at = 0;
    while (at + 4 <= extra.size()) {
        const std::uint32_t tag = LittleEndian(extra, at, 2);
        const size_t size = LittleEndian(extra, at + 2, 2);
        const size_t data = at + 4;
        if (size > extra.size() - data) {
            break;  // a block that runs past the field: the rest is not trusted
        }
        if (tag == 0x5455 && size >= 1) {
            const unsigned flags = static_cast<unsigned char>(extra[data]);
            size_t next = data + 1;
            const size_t end = data + size;
            std::optional<std::int64_t>* slots[] = {&times.lastWrite, &times.lastAccess,
                                                    &times.creation};
            for (unsigned bit = 0; bit < 3; ++bit) {
                if (!(flags & (1u << bit)) || next + 4 > end) {
                    continue;
                }
                *slots[bit] = static_cast<std::int32_t>(LittleEndian(extra, next, 4));
                next += 4;
            }
            return times;
        }
        at = data + size;
    }
    return times;
}

std::uint64_t FileTimeOfUnixTime(std::int64_t seconds) {
    constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
    return static_cast<std::uint64_t>(seconds + kSecondsFrom1601To1970) * 10000000u;
}

void ApplyExtendedTimestamp(std::string_view extraField, EntryTimes& times) {
    const UnixTimes stamps = ReadExtendedTimestamp(extraField);
    if (stamps.lastWrite) {
        times.lastWrite = FileTimeOfUnixTime(*stamps.lastWrite);
    }
    if (stamps.lastAccess) {
        times.lastAccess = FileTimeOfUnixTime(*stamps.lastAccess);
    }
    if (stamps.creation) {
        times.creation = FileTimeOfUnixTime(*stamps.creation);
    }
}

}  // namespace renovix
