#include "update/renovix/update_list.h"

#include "update/version_answer.h"

#include <climits>

namespace renovix {

namespace {

constexpr size_t kListedFields = 7;
constexpr size_t kAnswerFileFields = 6;
constexpr size_t kMaxAnswerLines = 4;
constexpr size_t kHeaderFields = 4;

// A line as a text-mode read gives it: without its carriage return.
std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

int LeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

std::optional<ListedFile> ParseListedFile(std::string_view line) {
    const auto fields = update::SplitFields(WithoutCarriageReturn(line));
    if (fields.size() != kListedFields) {
        return std::nullopt;
    }
    ListedFile file;
    file.destination = fields[0];
    file.folder = fields[1];
    file.isArchive = LeadingInteger(fields[4]) != 0;
    file.runAfter = LeadingInteger(fields[5]) != 0;
    file.localName = fields[6];
    file.line = WithoutCarriageReturn(line);
    return file;
}

UpdateList ParseUpdateList(std::string_view bytes) {
    auto lines = update::SplitLines(bytes);
    // A final line feed ends the last line rather than starting an empty one.
    if (lines.size() > 1 && lines.back().empty()) {
        lines.pop_back();
    }
    UpdateList list;
    size_t next = 0;
    if (next < lines.size()) {
        list.programFolder = WithoutCarriageReturn(lines[next++]);
        if (list.programFolder.size() < 3 && next < lines.size()) {
            list.programFolder = WithoutCarriageReturn(lines[next++]);
        }
    }
    for (; next < lines.size(); ++next) {
        if (auto file = ParseListedFile(lines[next])) {
            list.files.push_back(std::move(*file));
        }
    }
    return list;
}

std::string FormatUpdateList(std::string_view programFolder,
                             const std::vector<std::string>& listedLines) {
    std::string text(programFolder);
    text += "\r\n";
    for (const auto& line : listedLines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string DestinationOf(std::string_view programFolder, const ListedFile& file) {
    // The folder field's last character once decided whether a backslash went between the two;
    // with "\" the name ran on from the folder's own name and the file landed beside it.
    std::string path(programFolder);
    while (!path.empty() && (path.back() == '\\' || path.back() == '/')) {
        path.pop_back();
    }
    std::string_view name = file.destination;
    while (!name.empty() && (name.front() == '\\' || name.front() == '/')) {
        name.remove_prefix(1);
    }
    return path + '\\' + std::string(name);
}

AnswerHeader ReadAnswerHeader(std::string_view answer) {
    AnswerHeader header;
    const auto lines = update::SplitLines(answer);
    if (lines.size() > kMaxAnswerLines) {
        header.outcome = AnswerHeader::kTooManyLines;
        return header;
    }
    if (LeadingInteger(lines[0]) <= 0) {
        header.outcome = AnswerHeader::kNothingToDo;
        return header;
    }
    if (lines.size() < 2) {
        header.outcome = AnswerHeader::kBadHeader;
        return header;
    }
    const auto fields = update::SplitFields(lines[1]);
    if (fields.size() != kHeaderFields) {
        header.outcome = AnswerHeader::kBadHeader;
        return header;
    }
    header.outcome = AnswerHeader::kReady;
    header.latestVersion = fields[1];
    header.fileCount = LeadingInteger(fields[2]);
    return header;
}

std::optional<std::string_view> AnswerFileLine(std::string_view answer, int index) {
    const auto lines = update::SplitLines(answer);
    if (index < 0 || static_cast<size_t>(index) + 2 >= lines.size()) {
        return std::nullopt;
    }
    return lines[static_cast<size_t>(index) + 2];
}

std::optional<AnswerFile> SplitFileLine(std::string_view line) {
    const auto fields = update::SplitFields(line);
    if (fields.size() != kAnswerFileFields) {
        return std::nullopt;
    }
    AnswerFile file;
    file.line = line;
    file.url = fields[3];
    // A negative size once became a limit of 4 GiB; nothing of an update comes near the top.
    const int size = LeadingInteger(fields[2]);
    if (size < 0 || static_cast<unsigned long>(size) > kMaxDownloadBytes) {
        return std::nullopt;
    }
    file.size = static_cast<unsigned long>(size);
    return file;
}

bool IsAllowedDownloadUrl(std::string_view url) {
    auto startsWithNoCase = [&](std::string_view prefix) {
        if (url.size() < prefix.size()) {
            return false;
        }
        for (size_t i = 0; i < prefix.size(); ++i) {
            const char c =
                url[i] >= 'A' && url[i] <= 'Z' ? static_cast<char>(url[i] - 'A' + 'a') : url[i];
            if (c != prefix[i]) {
                return false;
            }
        }
        return true;
    };
    if (startsWithNoCase("https://")) {
        return url.size() > 8;
    }
    constexpr std::string_view loopback = "http://127.0.0.1";
    if (!startsWithNoCase(loopback)) {
        return false;
    }
    std::string_view rest = url.substr(loopback.size());
    if (!rest.empty() && rest[0] == ':') {
        size_t digits = 1;
        while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') {
            ++digits;
        }
        if (digits == 1) {
            return false;
        }
        rest.remove_prefix(digits);
    }
    return rest.empty() || rest[0] == '/';
}

}  // namespace renovix
