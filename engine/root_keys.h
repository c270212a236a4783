#pragma once
// Root-key names in their short ("HKLM") and long ("HKEY_LOCAL_MACHINE") forms.

#include <windows.h>

#include <string>
#include <string_view>

namespace engine {

struct ParsedRoot {
    HKEY root = nullptr;      // null when the name is not a root-key name
    size_t prefixLength = 0;  // the name as written plus its separator
};

// Looks at the first 31 characters, cut at the first "\" or "/", blanks trimmed, any case.
ParsedRoot ParseRootKey(std::string_view path);

// The short form of a long root name ("HKEY_CURRENT_USER" -> "HKCU"), otherwise empty text.
std::string ShortRootName(std::string_view name);

}  // namespace engine
