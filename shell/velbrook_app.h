#pragma once
// The application object: one copy per logon session, the command line, the staged Renovix,
// the data folder and the ignore list, then the main window, modally; the program ends with it.

#include <windows.h>

#include <string>

#include "platform/unique_any.h"

namespace shell {

class CVelbrookApp {
public:
    // Runs the whole program; false always (no message loop of the application follows).
    bool InitInstance(const std::string& commandLine);
    // Clears this program's slot of the shared table; 0.
    int ExitInstance();

private:
    // True when another copy's window took over (this copy ends at once).
    bool HandOverToRunningCopy();

    platform::unique_handle mutex_;
    platform::unique_handle swhTable_;
};

}  // namespace shell
