#pragma once
// scan, fix and ignore.

#include "cli/entry_commands.h"

namespace cli {

void AddCleanupCommands(CLI::App& app, CommandBody& selected);

}  // namespace cli
