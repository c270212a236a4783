#include "cli/history_commands.h"

#include "cli/exit_codes.h"
#include "cli/output.h"
#include "history/fix_files.h"
#include "history/restore.h"
#include "history/status_values.h"
#include "history/time_text.h"
#include "shell/core/settings_key.h"

#include <iostream>
#include <memory>

namespace cli {

namespace {

struct HistoryOptions {
    bool json = false;
    size_t fix = 0;  // history show N
    bool showJson = false;
};

struct RestoreOptions {
    size_t fix = 0;
    std::vector<std::string> names;
};

// Fix N of the listed fixes, numbered from 1, oldest first.
bool ChooseFix(size_t number, history::HistoryRecord& chosen) {
    auto fixes = history::ListedFixes();
    if (number == 0 || number > fixes.size()) {
        std::cerr << "There is no fix " << number << "; the history lists " << fixes.size()
                  << ".\n";
        return false;
    }
    chosen = std::move(fixes[number - 1]);
    return true;
}

bool ReadEntries(const history::HistoryRecord& fix, std::vector<engine::StartupItem>& entries) {
    DWORD error = 0;
    switch (history::ReadFixFile(fix.fixFilePath, entries, &error)) {
    case history::ReadOutcome::Read: return true;
    case history::ReadOutcome::Missing:
        std::cerr << "There are no items to show here\n";
        return false;
    case history::ReadOutcome::Failed: break;
    }
    std::cerr << "File could not be opened " << error << '\n';
    return false;
}

int RunHistory(bool json) {
    const auto fixes = history::ListedFixes();
    if (json) {
        WriteJsonArray(std::cout, fixes.size(), [&](size_t i) {
            const auto& fix = fixes[i];
            std::cout << "{\"remarks\": " << JsonString(fix.remarks)
                      << ", \"time\": " << fix.fixTime
                      << ", \"time_text\": " << JsonString(history::DisplayTimeText(fix.fixTime))
                      << ", \"action\": " << JsonString(fix.action)
                      << ", \"fix_file\": " << JsonString(fix.fixFilePath) << '}';
        });
        return kExitDone;
    }
    std::vector<std::vector<std::string>> rows;
    for (size_t i = 0; i < fixes.size(); ++i) {
        rows.push_back({std::to_string(i + 1), fixes[i].remarks,
                        history::DisplayTimeText(fixes[i].fixTime), fixes[i].action});
    }
    WriteTable(std::cout, {"Fix", "Remarks", "Scan Time", "Action Performed"}, rows);
    return kExitDone;
}

int RunHistoryShow(size_t number, bool json) {
    history::HistoryRecord fix;
    std::vector<engine::StartupItem> entries;
    if (!ChooseFix(number, fix)) {
        return kExitUsage;
    }
    if (!ReadEntries(fix, entries)) {
        return kExitFailed;
    }
    if (json) {
        WriteJsonArray(std::cout, entries.size(), [&](size_t i) {
            std::cout << "{\"name\": " << JsonString(entries[i].name)
                      << ", \"command\": " << JsonString(entries[i].command)
                      << ", \"location\": " << JsonString(entries[i].location) << '}';
        });
        return kExitDone;
    }
    std::vector<std::vector<std::string>> rows;
    for (const auto& entry : entries) {
        rows.push_back({entry.name, entry.command, entry.location});
    }
    WriteTable(std::cout, {"Name", "Command", "Location"}, rows);
    return kExitDone;
}

int RunRestore(const RestoreOptions& options) {
    history::HistoryRecord fix;
    std::vector<engine::StartupItem> entries;
    if (!ChooseFix(options.fix, fix)) {
        return kExitUsage;
    }
    if (!ReadEntries(fix, entries)) {
        return kExitFailed;
    }
    std::vector<bool> chosen(entries.size(), options.names.empty());
    for (const auto& name : options.names) {
        bool found = false;
        for (size_t i = 0; i < entries.size(); ++i) {
            if (entries[i].name == name) {
                chosen[i] = found = true;
            }
        }
        if (!found) {
            std::cerr << "Fix " << options.fix << " holds no entry named \"" << name << "\".\n";
            return kExitUsage;
        }
    }
    const auto outcome = history::RestoreFixEntries(fix.fixFilePath, entries, chosen);
    std::cout << history::InsertNumber("%1!d! Unwanted programs added to PC startup.",
                                       outcome.restored)
              << '\n';
    if (!outcome.fixFileDeleted && !outcome.fixFileWritten) {
        std::cerr << "Could not rewrite " << fix.fixFilePath << ".\n";
        return kExitFailed;
    }
    return outcome.failed == 0 ? kExitDone : kExitFailed;
}

int RunStatus(bool json) {
    std::vector<std::vector<std::string>> rows;
    if (json) {
        std::cout << '{';
    }
    bool first = true;
    for (const char* name : history::status::kAll) {
        const std::string value = shell::ReadSettingText(name);
        if (json) {
            std::cout << (first ? "" : ", ") << JsonString(name) << ": " << JsonString(value);
            first = false;
        } else {
            rows.push_back({name, value});
        }
    }
    if (json) {
        std::cout << "}\n";
    } else {
        WriteTable(std::cout, {"Value", "Stored"}, rows);
    }
    return kExitDone;
}

}  // namespace

void AddHistoryCommands(CLI::App& app, CommandBody& selected) {
    auto options = std::make_shared<HistoryOptions>();
    auto* historyCommand = app.add_subcommand("history", "The fixes whose fix file still exists");
    historyCommand->add_flag("--json", options->json, "Print JSON");
    historyCommand->require_subcommand(0, 1);
    auto* show = historyCommand->add_subcommand("show", "The entries one fix switched off");
    show->add_option("N", options->fix, "The fix's number in the history")->required();
    show->add_flag("--json", options->showJson, "Print JSON");
    historyCommand->callback([options, show, &selected] {
        if (show->parsed()) {
            selected = [options] {
                return RunHistoryShow(options->fix, options->json || options->showJson);
            };
        } else {
            selected = [options] { return RunHistory(options->json); };
        }
    });

    auto restore = std::make_shared<RestoreOptions>();
    auto* restoreCommand =
        app.add_subcommand("restore", "Switch entries of one fix back on (all without names)");
    restoreCommand->add_option("N", restore->fix, "The fix's number in the history")->required();
    restoreCommand->add_option("NAME", restore->names, "Entries to switch back on");
    restoreCommand->callback(
        [restore, &selected] { selected = [restore] { return RunRestore(*restore); }; });

    auto statusJson = std::make_shared<bool>(false);
    auto* statusCommand = app.add_subcommand("status", "The status values as stored");
    statusCommand->add_flag("--json", *statusJson, "Print JSON");
    statusCommand->callback(
        [statusJson, &selected] { selected = [statusJson] { return RunStatus(*statusJson); }; });
}

}  // namespace cli
