#pragma once
// The one converter between the program's 8-bit texts and UTF-16. Counts are in elements of the
// string type they name: bytes for std::string, UTF-16 code units for std::wstring.
//
// The program's 8-bit texts are in the process's ANSI code page (kAnsi). Velbrook's manifest asks
// for UTF-8 there, so on Windows 10 1903 and later (and under Wine) they hold any character;
// older Windows keep the machine's own code page, LegacyCodePage(), which the data files and
// redirected console text use on every system.

#include <string>
#include <string_view>

namespace platform::text {

// The process's ANSI code page (CP_ACP), the one the A functions of Windows use.
inline constexpr unsigned kAnsi = 0;
inline constexpr unsigned kUtf8 = 65001;

// Converts from an 8-bit code page to UTF-16. Invalid bytes become U+FFFD, never an empty result.
std::wstring Wide(std::string_view text, unsigned codePage = kAnsi);
// Converts UTF-16 to an 8-bit code page. Characters the code page lacks become its default
// character ('?'); *lossy, when given, tells whether the result would not convert back to the
// same text (a default character, or a "best fit" such as 'a' for 'ā'). An unpaired surrogate
// is written as U+FFFD in UTF-8.
std::string Narrow(std::wstring_view text, unsigned codePage = kAnsi, bool* lossy = nullptr);

inline std::string Utf8(std::wstring_view text) { return Narrow(text, kUtf8); }
inline std::wstring WideOfUtf8(std::string_view text) { return Wide(text, kUtf8); }

// Text of one 8-bit code page in another; *lossy as for Narrow. Pure ASCII is returned as it is.
std::string Recode(std::string_view text, unsigned from, unsigned to, bool* lossy = nullptr);

// The machine's ANSI code page as the system is set up (LOCALE_IDEFAULTANSICODEPAGE), whatever
// the manifest made of GetACP(): the code page the data files and scripts have always used.
unsigned LegacyCodePage();
// Whether the process's ANSI code page is this code page.
bool AnsiIs(unsigned codePage);

bool IsAscii(std::string_view text);

// The number of characters (code points) of UTF-16 text: a surrogate pair counts once.
std::size_t CharacterCount(std::wstring_view text);

}  // namespace platform::text
