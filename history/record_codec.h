#pragma once
// Encoding and decoding of the fixed-size records of the data files: zero-terminated texts in
// fixed-width fields and little-endian 64-bit times. Works on bytes only, without <windows.h>,
// so it also builds natively; the code page conversions come in a FieldText.
//
// A field holds its text in the system's legacy ANSI code page, as it always has. A text with
// a character that code page lacks is stored as kUtf8FieldMarker followed by the text in UTF-8
// and a zero: a reader that knows no marker sees the short text "?".

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace history {

// Tells whether a byte starts a two-byte character in the ANSI code page.
using LeadBytePredicate = std::function<bool(unsigned char)>;

// The longest prefix of text that holds at most maxBytes bytes and does not split a two-byte
// character.
std::string_view CutAtCharBoundary(std::string_view text, std::size_t maxBytes,
                                   const LeadBytePredicate& isLeadByte);

// The conversions between the program's texts and the bytes of a field.
struct FieldText {
    // The text in the legacy ANSI code page into *legacy; false when it holds a character
    // that code page lacks.
    std::function<bool(std::string_view text, std::string* legacy)> toLegacy;
    std::function<std::string(std::string_view legacy)> fromLegacy;
    std::function<std::string(std::string_view text)> toUtf8;
    std::function<std::string(std::string_view utf8)> fromUtf8;
    LeadBytePredicate isLeadByte;  // of the legacy code page
};

inline constexpr std::string_view kUtf8FieldMarker{"?\0UTF-8:", 8};

// The bytes before the first zero, never past the field.
std::string RawFieldText(const char* field, std::size_t size);
// The text of a field, legacy or marked UTF-8.
std::string ReadTextField(const char* field, std::size_t size, const FieldText& codec);

// Whether the whole text fits the field with its terminator.
bool FitsField(std::string_view text, std::size_t size, const FieldText& codec);

// Writes the text, cut to fit with its terminator at a character boundary when it is too
// long; the rest of the field is zeroed.
void WriteTextField(char* field, std::size_t size, std::string_view text, const FieldText& codec);

std::int64_t ReadInt64LE(const unsigned char* bytes);
void WriteInt64LE(unsigned char* bytes, std::int64_t value);

// The number of whole records in a byte count; a trailing fragment is not counted.
inline std::size_t WholeRecordCount(std::size_t byteCount, std::size_t recordSize) {
    return byteCount / recordSize;
}

// Decodes every whole record of a file's bytes in file order; a trailing fragment is ignored.
template <typename Bytes, typename Decode>
auto ParseRecords(std::string_view data, Decode&& decode) {
    std::vector<decltype(decode(std::declval<const Bytes&>()))> records;
    const std::size_t count = WholeRecordCount(data.size(), sizeof(Bytes));
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Bytes bytes;
        std::memcpy(&bytes, data.data() + i * sizeof(Bytes), sizeof bytes);
        records.push_back(decode(bytes));
    }
    return records;
}

// The raw bytes of a layout struct.
template <typename Bytes>
std::string BytesOf(const Bytes& bytes) {
    return std::string(reinterpret_cast<const char*>(&bytes), sizeof bytes);
}

}  // namespace history
