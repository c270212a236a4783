#include "platform/text_codec.h"

#include <windows.h>

#include <climits>

namespace platform::text {

std::wstring Wide(std::string_view text, unsigned codePage) {
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    const int count = ::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(count > 0 ? count : 0), L'\0');
    if (count > 0) {
        ::MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), count);
    }
    return wide;
}

std::string Narrow(std::wstring_view text, unsigned codePage, bool* lossy) {
    if (lossy) {
        *lossy = false;
    }
    if (text.empty() || text.size() > INT_MAX) {
        return {};
    }
    const int size = static_cast<int>(text.size());
    // UTF-8 and UTF-7 take no default character and can't lose any.
    const bool unicode = codePage == CP_UTF8 || codePage == CP_UTF7;
    BOOL usedDefault = FALSE;
    BOOL* used = unicode || !lossy ? nullptr : &usedDefault;
    const int count =
        ::WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, used);
    std::string narrow(static_cast<size_t>(count > 0 ? count : 0), '\0');
    if (count > 0) {
        ::WideCharToMultiByte(codePage, 0, text.data(), size, narrow.data(), count, nullptr, used);
    }
    if (lossy) {
        *lossy = usedDefault != FALSE;
    }
    return narrow;
}

}  // namespace platform::text
