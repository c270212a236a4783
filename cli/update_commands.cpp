#include "cli/update_commands.h"

#include "cli/exit_codes.h"
#include "update/program_version.h"
#include "update/site_config.h"
#include "update/version_check.h"
#include "update/version_compare.h"

#include <iostream>

namespace cli {

namespace {

int RunCheckUpdate() {
    const std::string own = update::GetProgramVersion();
    std::cout << "Own version: " << own << '\n';
    const auto latest = update::QueryLatestVersion();
    if (!latest) {
        std::cerr << "No version answer from " << update::VersionCheckUrl() << ".\n";
        return kExitFailed;
    }
    std::cout << "Remote version: " << *latest << '\n';
    if (update::IsNewerVersion(own, *latest)) {
        std::cout << "update available\n";
        return kExitUpdateAvailable;
    }
    std::cout << "up to date\n";
    return kExitDone;
}

}  // namespace

void AddUpdateCommands(CLI::App& app, CommandBody& selected) {
    app.add_subcommand("check-update", "Ask the product site whether a newer version exists")
        ->callback([&selected] { selected = RunCheckUpdate; });
}

}  // namespace cli
