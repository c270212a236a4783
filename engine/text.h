#pragma once
// Small helpers for the 8-bit (ANSI code page: UTF-8 under the manifest) texts the engine
// works on.

#include <string>
#include <string_view>

namespace engine {

// Upper case of every character, as Windows compares names.
std::string UpperAnsi(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

std::string_view TrimBlanks(std::string_view text);
// Blanks and double quotes from both ends, as the pages display commands.
std::string_view TrimBlanksAndQuotes(std::string_view text);

// Every run of backslashes becomes one; a leading "\\" (a UNC path) is kept.
std::string CollapseBackslashes(std::string_view path);

}  // namespace engine
