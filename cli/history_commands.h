#pragma once
// history, restore and status.

#include "cli/entry_commands.h"

namespace cli {

void AddHistoryCommands(CLI::App& app, CommandBody& selected);

}  // namespace cli
