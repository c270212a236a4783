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

std::string ReadTextField(const char* field, std::size_t size) {
    const char* end = static_cast<const char*>(std::memchr(field, 0, size));
    return std::string(field, end ? static_cast<std::size_t>(end - field) : size);
}

void WriteTextField(char* field, std::size_t size, std::string_view text,
                    const LeadBytePredicate& isLeadByte) {
    std::memset(field, 0, size);
    const std::string_view kept = CutAtCharBoundary(text, size - 1, isLeadByte);
    std::copy(kept.begin(), kept.end(), field);
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
