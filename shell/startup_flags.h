#pragma once
// What the command line asks of a start: "-wnw" (open the what's-new page; the install step
// starts the new version with it) and "-t" (started by the logon task). Both are plain
// substring tests, so they may stand anywhere, also inside another word.

#include <string_view>

namespace shell {

struct StartupFlags {
    bool openWhatsNew = false;
    bool startedAtLogon = false;
};

StartupFlags ReadStartupFlags(std::string_view commandLine);

// The first steps of a start: "-wnw" opens the what's-new page in the browser, "-t" sets
// StartedAtLogon. Returns what it read.
StartupFlags ActOnCommandLine(std::string_view commandLine);

// Program-wide: set once at start, read by the update check at start.
bool StartedAtLogon();
void SetStartedAtLogon(bool startedAtLogon);

}  // namespace shell
