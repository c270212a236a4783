#include "update/version_compare.h"

#include <algorithm>
#include <vector>

namespace update {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The numbers of a text made only of digit runs joined by single dots, leading zeros dropped,
// so that numbers of any length compare without overflow. False for anything else.
bool SplitDottedDecimal(std::string_view text, std::vector<std::string_view>& numbers) {
    if (text.empty()) {
        return false;
    }
    size_t start = 0;
    while (true) {
        const size_t dot = std::min(text.find('.', start), text.size());
        std::string_view part = text.substr(start, dot - start);
        if (part.empty() || !std::all_of(part.begin(), part.end(), IsDigit)) {
            return false;
        }
        part.remove_prefix(std::min(part.find_first_not_of('0'), part.size()));
        numbers.push_back(part);
        if (dot == text.size()) {
            return true;
        }
        start = dot + 1;
    }
}

int Sign(int value) { return (value > 0) - (value < 0); }

// Digit texts without leading zeros: the longer one is the larger number.
int CompareNumbers(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return Sign(a.compare(b));
}

int CompareTextNoCase(std::string_view a, std::string_view b) {
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

int CompareVersions(std::string_view a, std::string_view b) {
    std::vector<std::string_view> numbersA;
    std::vector<std::string_view> numbersB;
    if (!SplitDottedDecimal(a, numbersA) || !SplitDottedDecimal(b, numbersB)) {
        return CompareTextNoCase(a, b);
    }
    const size_t count = std::max(numbersA.size(), numbersB.size());
    for (size_t i = 0; i < count; ++i) {
        const std::string_view na = i < numbersA.size() ? numbersA[i] : std::string_view();
        const std::string_view nb = i < numbersB.size() ? numbersB[i] : std::string_view();
        if (const int order = CompareNumbers(na, nb); order != 0) {
            return order;
        }
    }
    return 0;
}

}  // namespace update
