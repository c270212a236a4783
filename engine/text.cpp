#include "engine/text.h"

#include "platform/text_codec.h"

#include <windows.h>

#include <algorithm>

namespace engine {

namespace {

// Upper case through UTF-16, as Windows compares names: in UTF-8 a character's upper case may
// take another number of bytes, which an in-place 8-bit conversion can't give.
std::wstring UpperWide(std::string_view text) {
    std::wstring wide = platform::text::Wide(text);
    if (!wide.empty()) {
        ::CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    }
    return wide;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::string UpperAnsi(std::string_view text) {
    if (platform::text::IsAscii(text)) {
        std::string upper(text);
        for (char& c : upper) {
            c = UpperAscii(c);
        }
        return upper;
    }
    return platform::text::Narrow(UpperWide(text));
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (platform::text::IsAscii(a) && platform::text::IsAscii(b)) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(),
                          [](char x, char y) { return UpperAscii(x) == UpperAscii(y); });
    }
    return UpperWide(a) == UpperWide(b);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

namespace {
std::string_view TrimAny(std::string_view text, std::string_view set) {
    const size_t first = text.find_first_not_of(set);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(set) - first + 1);
}
}  // namespace

std::string_view TrimBlanks(std::string_view text) { return TrimAny(text, " \t"); }

std::string_view TrimBlanksAndQuotes(std::string_view text) { return TrimAny(text, " \t\""); }

std::string CollapseBackslashes(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    size_t i = 0;
    if (path.size() > 2 && path.substr(0, 2) == "\\\\" && path[2] != '\\') {
        out = "\\\\";
        i = 2;
    }
    const size_t kept = out.size();
    for (; i < path.size(); ++i) {
        if (path[i] == '\\' && out.size() > kept && out.back() == '\\') {
            continue;
        }
        out += path[i];
    }
    return out;
}

}  // namespace engine
