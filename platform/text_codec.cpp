#include "platform/text_codec.h"

#include <windows.h>

#include <climits>
#include <cwchar>

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
    // UTF-8 and UTF-7 take no default character.
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
        // The default-character flag misses "best fit" replacements and, in UTF-8, unpaired
        // surrogates: only the way back tells that the text is the same.
        *lossy = usedDefault != FALSE || Wide(narrow, codePage) != text;
    }
    return narrow;
}

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

std::string Recode(std::string_view text, unsigned from, unsigned to, bool* lossy) {
    if (lossy) {
        *lossy = false;
    }
    // Every code page the program meets keeps ASCII as it is, which spares the listing a
    // conversion for nearly every text.
    if (IsAscii(text)) {
        return std::string(text);
    }
    return Narrow(Wide(text, from), to, lossy);
}

unsigned LegacyCodePage() {
    static const unsigned codePage = [] {
        wchar_t number[8] = {};
        if (::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, 8) > 0) {
            const unsigned value = static_cast<unsigned>(std::wcstoul(number, nullptr, 10));
            // "0" marks a locale without an ANSI code page (Unicode-only locales): UTF-8 is
            // what such a system uses for 8-bit text.
            if (value != 0) {
                return value;
            }
            return static_cast<unsigned>(CP_UTF8);
        }
        return static_cast<unsigned>(::GetACP());
    }();
    return codePage;
}

bool AnsiIs(unsigned codePage) { return ::GetACP() == codePage; }

std::size_t CharacterCount(std::wstring_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
        }
        ++count;
    }
    return count;
}

}  // namespace platform::text
