#pragma once
// list, disable and enable.

#include <CLI/CLI.hpp>

#include <functional>

namespace cli {

// A command's body; its result is the program's exit code.
using CommandBody = std::function<int()>;

void AddEntryCommands(CLI::App& app, CommandBody& selected);

}  // namespace cli
