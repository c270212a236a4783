#pragma once
// How the console program prints records: a readable table, JSON or CSV.
// Tables and CSV carry the texts as they are, in the process's code page (ConsoleText puts
// them into the console's); JSON is UTF-8.

#include "engine/startup_item.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

enum class OutputFormat { Table, Json, Csv };

// A JSON string literal of ANSI text, in UTF-8: quotes, backslashes and control characters
// escaped.
std::string JsonString(std::string_view text);
// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text);

// Columns of text in aligned columns under a header line.
void WriteTable(std::ostream& out, const std::vector<std::string>& header,
                const std::vector<std::vector<std::string>>& rows);

// A JSON array, one object a line; writeObject(i) writes the i-th object.
void WriteJsonArray(std::ostream& out, size_t count,
                    const std::function<void(size_t)>& writeObject);

// {"name", "command", "location", "enabled", "switch", "file", "publisher", "description",
// "signature", "signer"}; "switch" names what holds a switched-off entry ("store" or
// "startupapproved"), null for an active one; "publisher" and "description" are what the
// file's version resource claims, "signer" the verified signer (empty unless "signature" is
// "verified"). CSV has the same columns but "switch".
void WriteItems(std::ostream& out, const engine::StartupItemArray& items, OutputFormat format);

}  // namespace cli
