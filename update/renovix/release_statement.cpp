#include "update/renovix/release_statement.h"

namespace renovix {

namespace {

constexpr size_t kDigestHexDigits = 128;

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (;;) {
        const size_t at = text.find(separator);
        parts.push_back(text.substr(0, at));
        if (at == std::string_view::npos) {
            return parts;
        }
        text.remove_prefix(at + 1);
    }
}

bool IsLowerHex(std::string_view text) {
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
            return false;
        }
    }
    return true;
}

// A name is one part of an address: no separators, no control characters.
bool IsPlainName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == '/' || c == '\\' || c == ':' || c == '?' ||
            c == '#') {
            return false;
        }
    }
    return true;
}

bool HasControlCharacters(std::string_view text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20) {
            return true;
        }
    }
    return false;
}

}  // namespace

const StatementFile* ReleaseStatement::FileNamed(std::string_view name) const {
    for (const auto& file : files) {
        if (file.name == name) {
            return &file;
        }
    }
    return nullptr;
}

std::optional<ReleaseStatement> ParseReleaseStatement(std::string_view bytes) {
    if (bytes.size() > kMaxStatementBytes) {
        return std::nullopt;
    }
    std::vector<std::string_view> lines = Split(bytes, '\n');
    if (!lines.empty() && lines.back().empty()) {
        lines.pop_back();  // the line feed after the last line
    }
    for (auto& line : lines) {
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
    }
    if (lines.empty() || lines.front() != kStatementFirstLine) {
        return std::nullopt;
    }
    ReleaseStatement statement;
    bool haveProduct = false, haveVersion = false;
    for (size_t i = 1; i < lines.size(); ++i) {
        const auto fields = Split(lines[i], '\t');
        if (fields[0] == "product" && fields.size() == 2 && !haveProduct) {
            haveProduct = true;
            statement.product = fields[1];
        } else if (fields[0] == "version" && fields.size() == 2 && !haveVersion) {
            haveVersion = true;
            statement.version = fields[1];
        } else if (fields[0] == "file" && fields.size() == 5 && IsPlainName(fields[1]) &&
                   !fields[2].empty() && !HasControlCharacters(fields[2]) &&
                   (fields[3] == "0" || fields[3] == "1") && fields[4].size() == kDigestHexDigits &&
                   IsLowerHex(fields[4]) && !statement.FileNamed(fields[1])) {
            statement.files.push_back({std::string(fields[1]), std::string(fields[2]),
                                       fields[3] == "1", std::string(fields[4])});
        } else {
            return std::nullopt;
        }
    }
    if (!haveProduct || statement.product.empty() || !haveVersion || statement.version.empty() ||
        statement.files.empty()) {
        return std::nullopt;
    }
    return statement;
}

std::string_view NameInUrl(std::string_view url) {
    url = url.substr(0, url.find_first_of("?#"));
    const size_t slash = url.find_last_of('/');
    return slash == std::string_view::npos ? url : url.substr(slash + 1);
}

std::string HexOf(std::string_view bytes) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        hex += kDigits[c >> 4];
        hex += kDigits[c & 0xF];
    }
    return hex;
}

}  // namespace renovix
