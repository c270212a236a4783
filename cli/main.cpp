// velbrookc: the console front end over the same engine the windows use.

#include "cleanup/ignore_list.h"
#include "cli/cleanup_commands.h"
#include "cli/console_text.h"
#include "cli/entry_commands.h"
#include "cli/exit_codes.h"
#include "cli/history_commands.h"
#include "cli/update_commands.h"
#include "engine/product_name.h"
#include "platform/message_box.h"
#include "shell/core/data_path.h"
#include "update/program_version.h"

#include <iostream>

namespace {

// Whether a command given asked for JSON.
bool JsonAsked(const CLI::App& app) {
    for (const CLI::App* command : app.get_subcommands()) {
        const CLI::Option* json = command->get_option_no_throw("--json");
        if ((json && json->count() > 0) || JsonAsked(*command)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main() {
    cli::ConsoleText console;
    // The engine's failure messages go to stderr, in the same words a message box would show.
    platform::SetMessageBoxHandler([](const platform::MessageBoxRequest& request) {
        std::cerr << request.text << '\n';
        return IDOK;
    });

    CLI::App app{"Velbrook console: shows and controls the programs Windows starts at logon",
                 "velbrookc"};
    app.set_version_flag("--version", [] {
        return std::string(engine::ProductName) + " console " + update::GetProgramVersion();
    });
    app.require_subcommand(1);
    // Given before or after the command.
    app.fallthrough();
    bool utf8 = false;
    app.add_flag("--utf8", utf8,
                 "Redirected output and CSV in UTF-8 instead of the ANSI code page");
    cli::CommandBody selected;
    cli::AddEntryCommands(app, selected);
    cli::AddCleanupCommands(app, selected);
    cli::AddHistoryCommands(app, selected);
    cli::AddUpdateCommands(app, selected);
    // Names as typed, whatever the code page: from the wide command line.
    const std::vector<std::string> arguments = cli::WideCommandLineArguments();
    std::vector<const char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    try {
        app.parse(static_cast<int>(argv.size()), argv.data());
    } catch (const CLI::ParseError& error) {
        const int printed = app.exit(error);
        return printed == 0 ? cli::kExitDone : cli::kExitUsage;
    }
    if (utf8) {
        console.UseUtf8();
    }
    if (JsonAsked(app)) {
        console.PrintJson();
    }
    if (!selected) {
        return cli::kExitUsage;
    }
    // As the program starts: the data folder, then the ignore list the scan consults.
    shell::PrepareDataFolder();
    cleanup::LoadIgnoreList();
    return selected();
}
