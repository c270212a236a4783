#include "publisher/program_of_command.h"

#include <algorithm>
#include <array>

namespace publisher {
namespace {

// A hostile command of thousands of blanks must not cost thousands of file look-ups.
constexpr size_t kMaxPrefixes = 64;
constexpr std::array<std::string_view, 8> kProgramExtensions = {".exe", ".com", ".bat", ".cmd",
                                                                ".scr", ".pif", ".dll", ".cpl"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Quotes around a path (or an unclosed one before it) are no part of it.
std::string_view Unquote(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '"') {
        text.remove_prefix(1);
        text = text.substr(0, text.find('"'));
    }
    return Trim(text);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

std::string_view FileName(std::string_view path) {
    const size_t last = path.find_last_of("\\/:");
    return last == std::string_view::npos ? path : path.substr(last + 1);
}

bool HasExtension(std::string_view path) {
    return FileName(path).find('.') != std::string_view::npos;
}

bool HasProgramExtension(std::string_view path) {
    return std::any_of(kProgramExtensions.begin(), kProgramExtensions.end(),
                       [&](std::string_view extension) { return EndsWithNoCase(path, extension); });
}

// A drive path ("C:\...") or a UNC path ("\\server\...").
bool IsAbsolute(std::string_view path) {
    const bool drive = path.size() >= 3 &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
                       path[1] == ':' && IsSeparator(path[2]);
    return drive || (path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && !IsSeparator(path.back())) {
        path += '\\';
    }
    return path.append(name);
}

std::vector<std::string> SearchFolders(const ProgramLookups& lookups) {
    std::vector<std::string> folders = lookups.SystemFolders();
    const std::string path = lookups.Variable("PATH").value_or("");
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find(';', start);
        if (end == std::string::npos) {
            end = path.size();
        }
        // Only absolute folders: a relative one would be looked up in whatever folder is
        // current, which says nothing of what the logon starts.
        const std::string_view folder = Unquote(std::string_view(path).substr(start, end - start));
        if (IsAbsolute(folder)) {
            folders.emplace_back(folder);
        }
        start = end + 1;
    }
    return folders;
}

// The full path under which Windows finds name, or empty text. A name without extension is
// also tried with defaultExtension, as the loader does.
std::string Locate(std::string_view name, std::string_view defaultExtension,
                   const ProgramLookups& lookups) {
    const std::string text(Unquote(name));
    if (text.empty()) {
        return {};
    }
    std::vector<std::string> candidates = {text};
    if (!HasExtension(text)) {
        candidates.push_back(text + std::string(defaultExtension));
    }
    if (IsAbsolute(text)) {
        for (const std::string& candidate : candidates) {
            if (lookups.IsFile(candidate)) {
                return candidate;
            }
        }
        return {};
    }
    if (text.find_first_of("\\/:") != std::string::npos) {
        return {};  // relative to the current folder: nothing the logon starts
    }
    for (const std::string& folder : SearchFolders(lookups)) {
        for (const std::string& candidate : candidates) {
            std::string path = JoinPath(folder, candidate);
            if (lookups.IsFile(path)) {
                return path;
            }
        }
    }
    for (const std::string& candidate : candidates) {
        if (!HasExtension(candidate)) {
            continue;
        }
        const std::string registered = lookups.AppPath(candidate);
        const std::string expanded = ExpandVariables(registered, lookups);
        const std::string_view path = Unquote(expanded);
        if (IsAbsolute(path) && lookups.IsFile(std::string(path))) {
            return std::string(path);
        }
    }
    return {};
}

bool IsRundll32(std::string_view path) {
    const std::string_view name = FileName(path);
    return EqualsNoCase(name, "rundll32") || EqualsNoCase(name, "rundll32.exe");
}

// "x.dll,Entry args" or "\"C:\\a b\\x.dll\",Entry": the library part.
std::string_view LibraryOfRundllArguments(std::string_view arguments) {
    arguments = Trim(arguments);
    if (!arguments.empty() && arguments.front() == '"') {
        return Unquote(arguments);
    }
    return Trim(arguments.substr(0, arguments.find(',')));
}

}  // namespace

std::string ExpandVariables(std::string_view text, const ProgramLookups& lookups) {
    std::string expanded;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '%') {
            const size_t close = text.find('%', i + 1);
            if (close != std::string_view::npos && close > i + 1) {
                if (const auto value = lookups.Variable(text.substr(i + 1, close - i - 1))) {
                    expanded += *value;
                    i = close + 1;
                    continue;
                }
            }
        }
        expanded += text[i++];
    }
    return expanded;
}

ProgramFile ProgramOfCommand(std::string_view command, const ProgramLookups& lookups) {
    const std::string expanded = ExpandVariables(command, lookups);
    const std::string_view text = Trim(expanded);
    if (text.empty()) {
        return {};
    }
    std::string_view program, rest;
    std::string found;
    if (text.front() == '"') {
        const size_t close = text.find('"', 1);
        program = Trim(text.substr(1, close == std::string_view::npos ? close : close - 1));
        rest = close == std::string_view::npos ? std::string_view() : text.substr(close + 1);
        found = Locate(program, ".exe", lookups);
    } else {
        // Like the system's own start of an unquoted command: the shortest part up to a blank
        // that names a file. When none does, the first part that ends like a program (or the
        // first word) is the file that is missing.
        std::string_view missing;
        size_t tried = 0;
        for (size_t end = 0; end <= text.size() && tried < kMaxPrefixes; ++end) {
            if (end < text.size() && !IsBlank(text[end])) {
                continue;
            }
            if (IsBlank(text[end - 1])) {
                continue;  // one more blank of a run
            }
            const std::string_view prefix = text.substr(0, end);
            ++tried;
            found = Locate(prefix, ".exe", lookups);
            if (!found.empty()) {
                program = prefix;
                rest = text.substr(end);
                break;
            }
            if (missing.empty() && HasProgramExtension(prefix)) {
                missing = prefix;
            }
        }
        if (found.empty()) {
            if (missing.empty()) {
                missing = text.substr(0, std::min(text.find_first_of(" \t"), text.size()));
            }
            program = missing;
            rest = text.substr(missing.size());
        }
    }
    if (IsRundll32(found.empty() ? program : std::string_view(found))) {
        const std::string_view library = LibraryOfRundllArguments(rest);
        if (!library.empty()) {
            std::string located = Locate(library, ".dll", lookups);
            return located.empty() ? ProgramFile{std::string(library), false}
                                   : ProgramFile{std::move(located), true};
        }
    }
    return found.empty() ? ProgramFile{std::string(Unquote(program)), false}
                         : ProgramFile{std::move(found), true};
}

}  // namespace publisher
