#include "controls/html/markup_text.h"

namespace controls::html {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

std::string_view TrimSpace(std::string_view text) {
    size_t first = 0;
    while (first < text.size() && IsSpace(text[first])) {
        ++first;
    }
    size_t end = text.size();
    while (end > first && IsSpace(text[end - 1])) {
        --end;
    }
    return text.substr(first, end - first);
}

size_t FindOutsideQuotes(std::string_view text, size_t from, std::string_view stops) {
    char quote = 0;
    for (size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) {
                quote = 0;
            }
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (stops.find(c) != std::string_view::npos) {
            return i;
        }
    }
    return std::string_view::npos;
}

int ParseIntClamped(std::string_view text, int low, int high, int fallback) {
    text = TrimSpace(text);
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9') {
        return fallback;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < 1'000'000'000'000LL) {  // beyond any clamp; stop growing
            value = value * 10 + (text[i] - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < low) {
        return low;
    }
    if (value > high) {
        return high;
    }
    return static_cast<int>(value);
}

}  // namespace controls::html
