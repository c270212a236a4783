#pragma once
// Runs the setup program, its uninstaller and the installed program for the tests, and reads
// what they leave: the Uninstall key.

#include <windows.h>

#include <string>
#include <vector>

namespace testing_support {

inline constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velbrook";
// The setup keeps its Uninstall key in the view of its own bitness, which is the test's: the
// shipped 32-bit setup's lies in the 32-bit view.
inline constexpr REGSAM kSetupView = sizeof(void*) == 8 ? KEY_WOW64_64KEY : KEY_WOW64_32KEY;

// A path in double quotes, for command lines.
std::string Quoted(const std::string& path);

// The items of a list the build passes as "a|b|c".
std::vector<std::string> SplitList(const std::string& list);
// The names of the program files the setup installs.
std::vector<std::string> ShippedFiles();
// The Program Files folder of the program's architecture, followed by "\Velbrook".
std::string DefaultInstallFolder();

// Runs a command line and waits until its process and every process it started have ended
// (the uninstaller hands its work to a copy of itself and ends at once), answering messages
// sent to this thread's windows meanwhile. Returns the exit code of the first process.
unsigned long RunAndWaitForAll(const std::string& commandLine);
// The build's setup program with these arguments.
unsigned long RunSetup(const std::string& arguments);
// The quiet uninstall command that the Uninstall key names.
unsigned long RunQuietUninstall();
// Uninstalls an installed copy left behind, so that every test starts without one.
void UninstallIfInstalled();

// A value of the Uninstall key, "<missing>" when absent; the estimated size in KiB.
std::string UninstallValue(const std::string& name);
unsigned long UninstallSizeKiB();

// Keeps the program from asking the version server at start ("strtupdates" 1).
void SuppressStartupUpdateCheck();

// A program started for a test; ended by force if it is still running at the end.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& path, const std::string& arguments = "");
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // A visible or hidden top-level window of this process with this title, or null after
    // the time-out.
    HWND WaitForWindow(const std::string& title, unsigned long timeoutMs = 60000);
    bool WaitForExit(unsigned long timeoutMs = 30000);

private:
    PROCESS_INFORMATION info_{};
};

// Any top-level window titled `title`, waited for up to the time-out; null if none came.
HWND WaitForAnyWindow(const std::string& title, unsigned long timeoutMs);
// The full path of the program file of the process that owns a window.
std::string ProcessImagePath(HWND window);
// Answers messages sent to this thread's windows until `done` holds or the time-out passes.
template <typename Done>
bool PumpUntil(Done done, unsigned long timeoutMs) {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (!done()) {
        if (::GetTickCount64() > deadline) {
            return false;
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return true;
}

}  // namespace testing_support
