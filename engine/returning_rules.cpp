#include "engine/returning_rules.h"

#include <utility>
#include <vector>

namespace engine {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Lowered(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    char previous = 0;
    for (const char c : text) {
        if (c == '\\' && previous == '\\') {
            continue;
        }
        out += LowerAscii(c);
        previous = c;
    }
    return out;
}

std::string_view Trimmed(std::string_view text, std::string_view what) {
    const size_t first = text.find_first_not_of(what);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(what) - first + 1);
}

std::vector<std::string_view> SplitAtBackslashes(std::string_view text) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t at; (at = text.find('\\', start)) != std::string_view::npos; start = at + 1) {
        parts.push_back(text.substr(start, at - start));
    }
    parts.push_back(text.substr(start));
    return parts;
}

bool HoldsDottedNumber(std::string_view part) {
    for (size_t i = 1; i + 1 < part.size(); ++i) {
        if (part[i] == '.' && IsDigit(part[i - 1]) && IsDigit(part[i + 1])) {
            return true;
        }
    }
    return false;
}

// The part with every run of digits as one "#".
std::string DigitShape(std::string_view part) {
    std::string shape;
    for (size_t i = 0; i < part.size(); ++i) {
        if (!IsDigit(part[i])) {
            shape += part[i];
        } else if (i == 0 || !IsDigit(part[i - 1])) {
            shape += '#';
        }
    }
    return shape;
}

bool SameVersionFolder(std::string_view a, std::string_view b) {
    return HoldsDottedNumber(a) && HoldsDottedNumber(b) && DigitShape(a) == DigitShape(b);
}

}  // namespace

std::string ComparableCommand(std::string_view command) {
    std::string unquoted;
    unquoted.reserve(command.size());
    for (const char c : command) {
        if (c != '"') {
            unquoted += c;
        }
    }
    return Lowered(Trimmed(unquoted, " \t"));
}

bool SameProgramCommand(std::string_view active, std::string_view stored) {
    const std::string a = ComparableCommand(active);
    const std::string b = ComparableCommand(stored);
    if (a == b) {
        return true;
    }
    const auto partsA = SplitAtBackslashes(a);
    const auto partsB = SplitAtBackslashes(b);
    if (partsA.size() != partsB.size() || partsA.size() < 2) {
        return false;
    }
    for (size_t i = 0; i < partsA.size(); ++i) {
        const bool folder = i + 1 < partsA.size();
        if (partsA[i] != partsB[i] && (!folder || !SameVersionFolder(partsA[i], partsB[i]))) {
            return false;
        }
    }
    return true;
}

bool SameSourceLocation(std::string_view a, std::string_view b) {
    const auto normal = [](std::string_view location) {
        std::string text = Lowered(Trimmed(location, " \\"));
        for (const auto& [longName, shortName] :
             {std::pair{"hkey_current_user", "hkcu"}, std::pair{"hkey_local_machine", "hklm"}}) {
            const std::string_view name = longName;
            if (text.compare(0, name.size(), name) == 0 &&
                (text.size() == name.size() || text[name.size()] == '\\')) {
                text.replace(0, name.size(), shortName);
            }
        }
        return text;
    };
    return normal(a) == normal(b);
}

}  // namespace engine
