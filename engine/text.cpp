#include "engine/text.h"

#include <windows.h>

namespace engine {

std::string UpperAnsi(std::string_view text) {
    std::string upper(text);
    // Plain ASCII, as nearly every entry name is, upper-cases the same in every code page;
    // only the rest needs the system's tables (a call that costs more than the whole loop).
    bool ascii = true;
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
        }
    }
    if (!ascii) {
        ::CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    }
    return upper;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && UpperAnsi(a) == UpperAnsi(b);
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
