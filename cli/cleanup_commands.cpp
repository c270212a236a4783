#include "cli/cleanup_commands.h"

#include "cleanup/automatic_run.h"
#include "cleanup/ignore_list.h"
#include "cleanup/keep_off.h"
#include "cleanup/scrap_scan.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "engine/listing.h"
#include "engine/returning.h"
#include "engine/text.h"
#include "history/fix_files.h"
#include "history/status_values.h"

#include <algorithm>
#include <iostream>
#include <memory>

namespace cli {

namespace {

constexpr char kNothingFound[] =
    "Your PC already Optimized. Click Manually Fix button to Manage Startup Programs.";

struct FormatOption {
    bool json = false;
    OutputFormat format() const { return json ? OutputFormat::Json : OutputFormat::Table; }
};

struct IgnoreAddOptions {
    std::string name;
    std::string command;
    bool commandGiven = false;
};

// The scan as the automatic fix dialog runs it, with its status values.
size_t ScanAsTheDialogDoes() {
    const size_t found = cleanup::ScanForScrapPrograms();
    history::StoreScanStatus(static_cast<int>(found));
    return found;
}

int RunScan(const FormatOption& options) {
    ScanAsTheDialogDoes();
    WriteItems(std::cout, cleanup::ScrapList().items, options.format());
    return kExitDone;
}

int RunFix(const FormatOption& options) {
    if (ScanAsTheDialogDoes() == 0) {
        if (options.json) {
            WriteItems(std::cout, {}, OutputFormat::Json);
        } else {
            std::cout << kNothingFound << '\n';
        }
        return kExitDone;
    }
    auto& items = cleanup::ScrapList().items;
    const auto outcome = cleanup::RunAutomaticFix(items, {});
    history::StoreAutomaticRunStatus(static_cast<int>(items.size()), outcome.fixed);
    // What the fix file holds is what was switched off.
    std::vector<engine::StartupItem> fixed;
    history::ReadFixFile(outcome.fixFilePath, fixed);
    engine::StartupItemArray printed;
    for (auto& item : fixed) {
        printed.Append(std::move(item));
    }
    WriteItems(std::cout, printed, options.format());
    if (!options.json) {
        std::cout << history::InsertNumber("%1!d! scrap program(s) disabled successfullY.",
                                           outcome.fixed)
                  << '\n';
    }
    if (!outcome.recorded) {
        std::cerr << "The fix could not be written to the history.\n";
        return kExitFailed;
    }
    return outcome.fixed == static_cast<int>(items.size()) ? kExitDone : kExitFailed;
}

// One pass of "Keep switched-off programs off", as the monitor makes it when the setting is on.
int RunKeepOff(const FormatOption& options) {
    auto returned = engine::ReturnedEntries(engine::ListStartupItems(engine::EntryFilter::Active));
    const size_t wanted = std::count_if(returned.begin(), returned.end(), [](const auto& entry) {
        return !cleanup::IsIgnored(entry.name);
    });
    const auto outcome = cleanup::KeepReturnedOff(returned, engine::ReportStyle::Page(nullptr));
    engine::StartupItemArray printed;
    for (auto& entry : returned) {
        if (!entry.enabled) {
            printed.Append(std::move(entry));
        }
    }
    WriteItems(std::cout, printed, options.format());
    if (!options.json) {
        std::cout << history::InsertNumber("%1!d! program(s) switched off again.",
                                           outcome.switchedOff)
                  << '\n';
    }
    if (outcome.switchedOff > 0 && !outcome.recorded) {
        std::cerr << "The fix could not be written to the history.\n";
        return kExitFailed;
    }
    return outcome.switchedOff == static_cast<int>(wanted) ? kExitDone : kExitFailed;
}

int RunIgnoreList(const FormatOption& options) {
    const auto records = cleanup::ReadIgnoreRecords();
    if (options.json) {
        WriteJsonArray(std::cout, records.size(), [&](size_t i) {
            std::cout << "{\"name\": " << JsonString(records[i].name)
                      << ", \"command\": " << JsonString(records[i].command) << '}';
        });
        return kExitDone;
    }
    std::vector<std::vector<std::string>> rows;
    for (const auto& record : records) {
        rows.push_back({record.name, record.command});
    }
    WriteTable(std::cout, {"Name", "Location"}, rows);
    return kExitDone;
}

int RunIgnoreAdd(const IgnoreAddOptions& options) {
    engine::StartupItem item;
    item.name = options.name;
    if (options.commandGiven) {
        item.command = options.command;
    } else {
        bool listed = false;
        engine::ListStartupItems().ForEach([&](const engine::StartupItem& entry) {
            if (!listed && entry.name == options.name) {
                item.command = entry.command;
                listed = true;
            }
        });
        if (!listed) {
            std::cerr << "No entry named \"" << options.name
                      << "\" is listed; give its command with --command.\n";
            return kExitUsage;
        }
    }
    switch (cleanup::AddToIgnoreList(item)) {
    case cleanup::IgnoreResult::Done:
        std::cout << "Ignored " << item.name << '\n';
        return kExitDone;
    case cleanup::IgnoreResult::NameTooLong:
        std::cerr << "The name is longer than " << cleanup::kIgnoreNameLimit
                  << " characters: the ignore list can't hold it.\n";
        return kExitUsage;
    case cleanup::IgnoreResult::WriteFailed: break;
    }
    std::cerr << "Could not write " << cleanup::IgnoreFilePath() << ".\n";
    return kExitFailed;
}

// As the ignore-list page removes rows: its rows show each name once (the first record's
// command), and the file is rewritten from the rows that remain.
int RunIgnoreRemove(const std::vector<std::string>& names) {
    const auto rows = cleanup::IgnoreRows(cleanup::ReadIgnoreRecords());
    for (const auto& name : names) {
        bool found = false;
        for (const auto& row : rows) {
            found = found || engine::EqualsNoCase(row.name, name);
        }
        if (!found) {
            std::cerr << "\"" << name << "\" is not on the ignore list.\n";
            return kExitUsage;
        }
    }
    if (cleanup::RemoveFromIgnoreList(names) != cleanup::IgnoreResult::Done) {
        std::cerr << "Could not write " << cleanup::IgnoreFilePath() << ".\n";
        return kExitFailed;
    }
    std::cout << "The selected prorgram(s) have been added back to Windows Startup program list.\n";
    return kExitDone;
}

}  // namespace

void AddCleanupCommands(CLI::App& app, CommandBody& selected) {
    auto scan = std::make_shared<FormatOption>();
    auto* scanCommand = app.add_subcommand("scan", "List the scrap programs of the machine");
    scanCommand->add_flag("--json", scan->json, "Print JSON");
    scanCommand->callback([scan, &selected] { selected = [scan] { return RunScan(*scan); }; });

    auto fix = std::make_shared<FormatOption>();
    auto* fixCommand =
        app.add_subcommand("fix", "Scan, then switch every scrap program off as one fix");
    fixCommand->add_flag("--json", fix->json, "Print JSON");
    fixCommand->callback([fix, &selected] { selected = [fix] { return RunFix(*fix); }; });

    auto keepOff = std::make_shared<FormatOption>();
    auto* keepOffCommand = app.add_subcommand(
        "keep-off", "Switch off again, as one fix, the entries that put themselves back");
    keepOffCommand->add_flag("--json", keepOff->json, "Print JSON");
    keepOffCommand->callback(
        [keepOff, &selected] { selected = [keepOff] { return RunKeepOff(*keepOff); }; });

    auto* ignore = app.add_subcommand("ignore", "Show or change the ignore list");
    ignore->require_subcommand(1);

    auto list = std::make_shared<FormatOption>();
    auto* listCommand = ignore->add_subcommand("list", "The records of the ignore list");
    listCommand->add_flag("--json", list->json, "Print JSON");
    listCommand->callback(
        [list, &selected] { selected = [list] { return RunIgnoreList(*list); }; });

    auto add = std::make_shared<IgnoreAddOptions>();
    auto* addCommand = ignore->add_subcommand("add", "Keep an entry out of later scans");
    addCommand->add_option("NAME", add->name, "The entry's name")->required();
    addCommand->add_option("--command", add->command,
                           "Its command (default: the command of the listed entry)");
    addCommand->callback([add, addCommand, &selected] {
        add->commandGiven = addCommand->count("--command") > 0;
        selected = [add] { return RunIgnoreAdd(*add); };
    });

    auto names = std::make_shared<std::vector<std::string>>();
    auto* removeCommand = ignore->add_subcommand("remove", "Take names off the ignore list");
    removeCommand->add_option("NAME", *names, "Names to take off")->required();
    removeCommand->callback(
        [names, &selected] { selected = [names] { return RunIgnoreRemove(*names); }; });
}

}  // namespace cli
