#pragma once
// The one converter between the program's 8-bit texts and UTF-16. Counts are in elements of the
// string type they name: bytes for std::string, UTF-16 code units for std::wstring.

#include <string>
#include <string_view>

namespace platform::text {

// The process's ANSI code page (CP_ACP), the one the A functions of Windows use.
inline constexpr unsigned kAnsi = 0;
inline constexpr unsigned kUtf8 = 65001;

// Converts from an 8-bit code page to UTF-16. Invalid bytes become U+FFFD, never an empty result.
std::wstring Wide(std::string_view text, unsigned codePage = kAnsi);
// Converts UTF-16 to an 8-bit code page. Characters the code page lacks become its default
// character ('?'); *lossy, when given, tells whether that happened. An unpaired surrogate is
// written as U+FFFD in UTF-8.
std::string Narrow(std::wstring_view text, unsigned codePage = kAnsi, bool* lossy = nullptr);

inline std::string Utf8(std::wstring_view text) { return Narrow(text, kUtf8); }
inline std::wstring WideOfUtf8(std::string_view text) { return Wide(text, kUtf8); }

}  // namespace platform::text
