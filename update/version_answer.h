#pragma once
// The version-check endpoint's answer: 8-bit text, lines split at line feeds, fields at tabs.
// Line 0 is a count, line 1 the header (4 fields, field 1 the latest version), then the file
// lines that Renovix downloads. Window-free: it works on the bytes of the answer.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace update {

// Splits at every separator and keeps empty pieces: "a\n" gives "a" and "", "" gives one
// empty piece. A carriage return stays in the piece it ends.
std::vector<std::string_view> SplitKeepingEmpty(std::string_view text, char separator);

inline std::vector<std::string_view> SplitLines(std::string_view text) {
    return SplitKeepingEmpty(text, '\n');
}
inline std::vector<std::string_view> SplitFields(std::string_view line) {
    return SplitKeepingEmpty(line, '\t');
}

// The latest version that the answer names (header field 1), or nothing when the answer is not
// one the program accepts: exactly 3 lines (one file line, no line feed after it) and a header
// of exactly 4 fields.
std::optional<std::string> LatestVersionOfAnswer(std::string_view answer);

}  // namespace update
