// velbrookc: the console front end over the same engine the windows use.

#include "cleanup/ignore_list.h"
#include "cli/cleanup_commands.h"
#include "cli/entry_commands.h"
#include "cli/exit_codes.h"
#include "cli/history_commands.h"
#include "cli/update_commands.h"
#include "engine/product_name.h"
#include "platform/message_box.h"
#include "shell/data_path.h"
#include "update/program_version.h"

#include <iostream>

int main(int argc, char** argv) {
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
    cli::CommandBody selected;
    cli::AddEntryCommands(app, selected);
    cli::AddCleanupCommands(app, selected);
    cli::AddHistoryCommands(app, selected);
    cli::AddUpdateCommands(app, selected);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int printed = app.exit(error);
        return printed == 0 ? cli::kExitDone : cli::kExitUsage;
    }
    if (!selected) {
        return cli::kExitUsage;
    }
    // As the program starts: the data folder, then the ignore list the scan consults.
    shell::PrepareDataFolder();
    cleanup::LoadIgnoreList();
    return selected();
}
