#include "cli/output.h"

#include "engine/text.h"

#include <algorithm>
#include <cstdio>

namespace cli {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (byte < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                out += escaped;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        return std::string(text);
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

void WriteTable(std::ostream& out, const std::vector<std::string>& header,
                const std::vector<std::vector<std::string>>& rows) {
    std::vector<size_t> widths(header.size());
    for (size_t i = 0; i < header.size(); ++i) {
        widths[i] = header[i].size();
        for (const auto& row : rows) {
            widths[i] = std::max(widths[i], row[i].size());
        }
    }
    auto writeRow = [&](const std::vector<std::string>& row) {
        for (size_t i = 0; i < row.size(); ++i) {
            out << row[i];
            if (i + 1 < row.size()) {
                out << std::string(widths[i] - row[i].size() + 2, ' ');
            }
        }
        out << '\n';
    };
    writeRow(header);
    for (const auto& row : rows) {
        writeRow(row);
    }
}

void WriteJsonArray(std::ostream& out, size_t count,
                    const std::function<void(size_t)>& writeObject) {
    out << '[';
    for (size_t i = 0; i < count; ++i) {
        out << (i ? ",\n " : "\n ");
        writeObject(i);
    }
    out << (count == 0 ? "]\n" : "\n]\n");
}

void WriteItems(std::ostream& out, const engine::StartupItemArray& items, OutputFormat format) {
    switch (format) {
    case OutputFormat::Json: {
        out << '[';
        for (size_t i = 0; i < items.size(); ++i) {
            const auto& item = items[i];
            out << (i ? ",\n " : "\n ") << "{\"name\": " << JsonString(item.name)
                << ", \"command\": " << JsonString(item.command)
                << ", \"location\": " << JsonString(item.location)
                << ", \"enabled\": " << (item.enabled ? "true" : "false") << '}';
        }
        out << (items.empty() ? "]\n" : "\n]\n");
        break;
    }
    case OutputFormat::Csv:
        out << "name,command,location,enabled\n";
        items.ForEach([&](const engine::StartupItem& item) {
            out << CsvField(item.name) << ',' << CsvField(item.command) << ','
                << CsvField(item.location) << ',' << (item.enabled ? "true" : "false") << '\n';
        });
        break;
    case OutputFormat::Table: {
        std::vector<std::vector<std::string>> rows;
        items.ForEach([&](const engine::StartupItem& item) {
            rows.push_back({item.name, item.enabled ? "Enabled" : "Disabled", item.location,
                            std::string(engine::TrimBlanksAndQuotes(item.command))});
        });
        WriteTable(out, {"Name", "Status", "Location", "Command"}, rows);
        break;
    }
    }
}

}  // namespace cli
