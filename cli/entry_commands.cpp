#include "cli/entry_commands.h"

#include "cli/exit_codes.h"
#include "cli/output.h"
#include "engine/listing.h"
#include "engine/switching.h"
#include "engine/text.h"
#include "history/manual_save.h"

#include <iostream>
#include <map>
#include <memory>

namespace cli {

namespace {

struct ListOptions {
    std::string filter = "all";
    bool json = false;
    bool csv = false;
};

struct SwitchOptions {
    std::string name;
    std::string location;
};

int RunList(const ListOptions& options) {
    static const std::map<std::string, engine::EntryFilter> filters = {
        {"all", engine::EntryFilter::All},
        {"active", engine::EntryFilter::Active},
        {"disabled", engine::EntryFilter::Disabled}};
    const auto items = engine::ListStartupItems(filters.at(options.filter));
    const OutputFormat format = options.json  ? OutputFormat::Json
                                : options.csv ? OutputFormat::Csv
                                              : OutputFormat::Table;
    WriteItems(std::cout, items, format);
    return kExitDone;
}

// The one entry of that exact name among the listed ones, narrowed by location if given.
// Prints why when there is none or more than one.
bool SelectEntry(const SwitchOptions& options, engine::EntryFilter filter,
                 engine::StartupItem& chosen) {
    const auto items = engine::ListStartupItems(filter);
    engine::StartupItemArray matches;
    items.ForEach([&](const engine::StartupItem& item) {
        if (item.name == options.name &&
            (options.location.empty() || engine::EqualsNoCase(item.location, options.location))) {
            matches.Append(item);
        }
    });
    if (matches.empty()) {
        std::cerr << "No " << (filter == engine::EntryFilter::Active ? "active" : "disabled")
                  << " entry named \"" << options.name << "\""
                  << (options.location.empty() ? "" : " at " + options.location) << ".\n";
        return false;
    }
    if (matches.size() > 1) {
        std::cerr << "\"" << options.name
                  << "\" names more than one entry; choose one with --location:\n";
        matches.ForEach(
            [](const engine::StartupItem& item) { std::cerr << "  " << item.location << '\n'; });
        return false;
    }
    chosen = matches[0];
    return true;
}

int RunSwitch(const SwitchOptions& options, bool enable) {
    engine::StartupItem item;
    if (!SelectEntry(options, enable ? engine::EntryFilter::Disabled : engine::EntryFilter::Active,
                     item)) {
        return kExitUsage;
    }
    const auto style = engine::ReportStyle::Page(nullptr);
    // Switching off is a manual fix: it goes into the history like a save of the page.
    if (enable) {
        if (!engine::EnableStartupItem(item, style)) {
            return kExitFailed;
        }
    } else {
        const auto outcome = history::SaveManualChanges({{&item, false}}, style);
        if (outcome.switchedOff != 1) {
            return kExitFailed;
        }
        if (!outcome.recorded) {
            // Switched off, but the history has no record to switch it back on from.
            std::cerr << "Disabled " << item.name << " (" << item.location
                      << "), but the fix could not be recorded in the history.\n";
            return kExitFailed;
        }
    }
    std::cout << (enable ? "Enabled " : "Disabled ") << item.name << " (" << item.location << ")\n";
    return kExitDone;
}

}  // namespace

void AddEntryCommands(CLI::App& app, CommandBody& selected) {
    auto list = std::make_shared<ListOptions>();
    auto* listCommand = app.add_subcommand("list", "List every startup entry in listing order");
    listCommand->add_option("--filter", list->filter, "active, disabled or all")
        ->check(CLI::IsMember({"active", "disabled", "all"}));
    auto* json = listCommand->add_flag("--json", list->json, "Print JSON");
    listCommand->add_flag("--csv", list->csv, "Print CSV")->excludes(json);
    listCommand->callback([list, &selected] { selected = [list] { return RunList(*list); }; });

    for (const bool enable : {false, true}) {
        auto options = std::make_shared<SwitchOptions>();
        auto* command = app.add_subcommand(
            enable ? "enable" : "disable",
            enable ? "Switch a disabled entry back on" : "Switch an active entry off");
        command->add_option("NAME", options->name, "The entry's exact name")->required();
        command->add_option("--location", options->location,
                            "The entry's location, when the name is not unique");
        command->callback([options, enable, &selected] {
            selected = [options, enable] { return RunSwitch(*options, enable); };
        });
    }
}

}  // namespace cli
