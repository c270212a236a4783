#pragma once
// The named entities of the markup, replaced before the markup is parsed.

#include <string>
#include <string_view>

namespace controls::html {

// Replaces the known entities by their characters of the Windows Latin-1 code page. "&lt;"
// becomes "<<", the markup's way of writing a literal "<". Unknown entities stay as written.
std::string DecodeEntities(std::string_view text);

}  // namespace controls::html
