#include "history/record_codec.h"

#include <algorithm>
#include <cstring>

namespace history {

std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes,
                                   const LeadBytePredicate& isLeadByte) {
    if (text.size() <= maxBytes) {
        return text;
    }
    // Walk whole characters: a lead byte and its trail byte are kept or dropped together.
    std::size_t end = 0;
    while (end < maxBytes) {
        const std::size_t width =
            isLeadByte && isLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
        if (end + width > maxBytes) {
            break;
        }
        end += width;
    }
    return text.substr(0, end);
}

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Whether a byte continues a UTF-8 sequence.
bool IsUtf8Trail(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string_view CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) {
        return text;
    }
    std::size_t end = maxBytes;
    while (end > 0 && IsUtf8Trail(text[end])) {
        --end;
    }
    return text.substr(0, end);
}

// The bytes a text takes in a field without its terminator, and whether they are UTF-8.
std::string FieldBytes(std::string_view text, const FieldText& codec, bool* utf8) {
    std::string legacy;
    *utf8 = false;
    if (IsAscii(text)) {
        return std::string(text);
    }
    if (codec.toLegacy(text, &legacy)) {
        return legacy;
    }
    *utf8 = true;
    return codec.toUtf8(text);
}

}  // namespace

std::string RawFieldText(const char* field, std::size_t size) {
    const char* end = static_cast<const char*>(std::memchr(field, 0, size));
    return std::string(field, end ? static_cast<std::size_t>(end - field) : size);
}

std::string ReadTextField(const char* field, std::size_t size, const FieldText& codec) {
    const std::size_t marker = kUtf8FieldMarker.size();
    if (size > marker && std::string_view(field, marker) == kUtf8FieldMarker) {
        return codec.fromUtf8(RawFieldText(field + marker, size - marker));
    }
    std::string raw = RawFieldText(field, size);
    return IsAscii(raw) ? raw : codec.fromLegacy(raw);
}

bool FitsField(std::string_view text, std::size_t size, const FieldText& codec) {
    bool utf8 = false;
    const std::size_t bytes = FieldBytes(text, codec, &utf8).size();
    return (utf8 ? kUtf8FieldMarker.size() : 0) + bytes + 1 <= size;
}

void WriteTextField(char* field, std::size_t size, std::string_view text, const FieldText& codec) {
    std::memset(field, 0, size);
    bool utf8 = false;
    const std::string bytes = FieldBytes(text, codec, &utf8);
    if (!utf8) {
        const std::string_view kept = CutAtCharBoundary(bytes, size - 1, codec.isLeadByte);
        std::copy(kept.begin(), kept.end(), field);
        return;
    }
    const std::size_t marker = kUtf8FieldMarker.size();
    if (size <= marker + 1) {
        return;
    }
    std::copy(kUtf8FieldMarker.begin(), kUtf8FieldMarker.end(), field);
    const std::string_view kept = CutUtf8(bytes, size - marker - 1);
    std::copy(kept.begin(), kept.end(), field + marker);
}

std::int64_t ReadInt64LE(const unsigned char* bytes) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | bytes[i];
    }
    return static_cast<std::int64_t>(value);
}

void WriteInt64LE(unsigned char* bytes, std::int64_t value) {
    auto bits = static_cast<std::uint64_t>(value);
    for (int i = 0; i < 8; ++i) {
        bytes[i] = static_cast<unsigned char>(bits & 0xFF);
        bits >>= 8;
    }
}

}  // namespace history
