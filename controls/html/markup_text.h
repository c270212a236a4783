#pragma once
// Small text helpers of the markup parsers. Tag, attribute and property names are ASCII,
// so these never depend on the code page.

#include <string>
#include <string_view>

namespace controls::html {

std::string LowerAscii(std::string_view text);
bool EqualsAsciiNoCase(std::string_view a, std::string_view b);
std::string_view TrimSpace(std::string_view text);  // blanks, tabs, line ends
bool IsSpace(char c);

// The first of the stop characters at or after from that stands outside '...' and "...";
// npos when there is none.
size_t FindOutsideQuotes(std::string_view text, size_t from, std::string_view stops);

// The leading decimal integer of text (optional sign), clamped to [low, high]; fallback
// when text does not start with a number.
int ParseIntClamped(std::string_view text, int low, int high, int fallback);

}  // namespace controls::html
