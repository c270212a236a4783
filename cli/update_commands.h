#pragma once
// check-update.

#include "cli/entry_commands.h"

namespace cli {

void AddUpdateCommands(CLI::App& app, CommandBody& selected);

}  // namespace cli
