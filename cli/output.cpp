#include "cli/output.h"

#include "engine/text.h"
#include "platform/text_codec.h"
#include "publisher/publisher.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

namespace cli {

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c :
         platform::text::Recode(text, platform::text::kAnsi, platform::text::kUtf8)) {
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

namespace {

// How many characters a text shows: its bytes are more in UTF-8.
size_t Columns(const std::string& text) {
    return platform::text::IsAscii(text)
               ? text.size()
               : platform::text::CharacterCount(platform::text::Wide(text));
}

}  // namespace

void WriteTable(std::ostream& out, const std::vector<std::string>& header,
                const std::vector<std::vector<std::string>>& rows) {
    std::vector<size_t> widths(header.size());
    for (size_t i = 0; i < header.size(); ++i) {
        widths[i] = Columns(header[i]);
        for (const auto& row : rows) {
            widths[i] = std::max(widths[i], Columns(row[i]));
        }
    }
    auto writeRow = [&](const std::vector<std::string>& row) {
        for (size_t i = 0; i < row.size(); ++i) {
            out << row[i];
            if (i + 1 < row.size()) {
                out << std::string(widths[i] - Columns(row[i]) + 2, ' ');
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

namespace {

// Which switch holds a switched-off entry: the store, or Task Manager's mark.
const char* SwitchName(const engine::StartupItem& item) {
    if (item.enabled) {
        return "null";
    }
    return item.disabledBy == engine::StartupItem::DisabledBy::StartupApproved
               ? "\"startupapproved\""
               : "\"store\"";
}

}  // namespace

void WriteItems(std::ostream& out, const engine::StartupItemArray& items, OutputFormat format) {
    switch (format) {
    case OutputFormat::Json: {
        out << '[';
        for (size_t i = 0; i < items.size(); ++i) {
            const auto& item = items[i];
            const publisher::Publisher found = publisher::PublisherOfCommand(item.command);
            out << (i ? ",\n " : "\n ") << "{\"name\": " << JsonString(item.name)
                << ", \"command\": " << JsonString(item.command)
                << ", \"location\": " << JsonString(item.location)
                << ", \"enabled\": " << (item.enabled ? "true" : "false")
                << ", \"returned\": " << (item.returned ? "true" : "false")
                << ", \"switch\": " << SwitchName(item) << ", \"file\": " << JsonString(found.file)
                << ", \"publisher\": " << JsonString(found.company)
                << ", \"description\": " << JsonString(found.description)
                << ", \"signature\": " << JsonString(publisher::SignatureName(found.signature))
                << ", \"signer\": " << JsonString(found.signer) << '}';
        }
        out << (items.empty() ? "]\n" : "\n]\n");
        break;
    }
    case OutputFormat::Csv:
        out << "name,command,location,enabled,file,publisher,description,signature,signer\n";
        items.ForEach([&](const engine::StartupItem& item) {
            const publisher::Publisher found = publisher::PublisherOfCommand(item.command);
            out << CsvField(item.name) << ',' << CsvField(item.command) << ','
                << CsvField(item.location) << ',' << (item.enabled ? "true" : "false") << ','
                << CsvField(found.file) << ',' << CsvField(found.company) << ','
                << CsvField(found.description) << ',' << publisher::SignatureName(found.signature)
                << ',' << CsvField(found.signer) << '\n';
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
