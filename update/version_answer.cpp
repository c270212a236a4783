#include "update/version_answer.h"

namespace update {

std::vector<std::string_view> SplitKeepingEmpty(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, start)) {
        pieces.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

std::optional<std::string> LatestVersionOfAnswer(std::string_view answer) {
    const auto lines = SplitLines(answer);
    if (lines.size() != 3) {
        return std::nullopt;
    }
    const auto header = SplitFields(lines[1]);
    if (header.size() != 4) {
        return std::nullopt;
    }
    return std::string(header[1]);
}

}  // namespace update
