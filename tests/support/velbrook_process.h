#pragma once
// Starts the real Velbrook.exe (a copy in a folder of the test's choosing, or the build's) and
// finds its windows, for tests of behaviour that spans processes.

#include <windows.h>

#include <functional>
#include <string>

#include "platform/unique_any.h"

namespace testing_support {

// The Velbrook.exe of the build (Wine path).
std::string BuiltVelbrookPath();

// A folder below the temporary folder, made afresh, holding a copy of Velbrook.exe; removed with
// everything in it at the end.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::string& name);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    const std::string& path() const { return path_; }  // with the trailing backslash
    std::string exe() const { return path_ + "Velbrook.exe"; }

private:
    std::string path_;
};

// A top-level window of process id whose class and title match (empty: any) and that has a
// control withItem (0: any).
HWND FindProcessWindow(DWORD processId, const std::string& className, const std::string& title,
                       UINT withItem = 0, bool visibleOnly = true);
// The program's main window (it has the header's Home button).
HWND FindMainWindow(DWORD processId, bool visibleOnly = true);
// A message box of the program that has button id (IDYES, IDOK...).
HWND FindMessageBox(DWORD processId, UINT buttonId);

class RunningVelbrook {
public:
    // Starts exe with arguments; with waitForWindow, waits (20 s at most) until its main
    // window is visible.
    explicit RunningVelbrook(const std::string& exe, const std::string& arguments = "",
                             bool waitForWindow = true);
    // Ends the program with the installer's close request if it still runs, and waits.
    ~RunningVelbrook();
    RunningVelbrook(const RunningVelbrook&) = delete;
    RunningVelbrook& operator=(const RunningVelbrook&) = delete;

    HWND window() const { return window_; }
    DWORD processId() const { return processId_; }
    HANDLE process() const { return process_.get(); }
    // Waits until the process has ended; its exit code, or STILL_ACTIVE after waitMs.
    DWORD WaitForExit(DWORD waitMs = 15000) const;
    // WM_CLOSE with both parameters 1 (posted), then WaitForExit.
    DWORD CloseForGood(DWORD waitMs = 15000) const;

private:
    platform::unique_handle process_;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
};

// Polls done() every 20 ms for at most waitMs.
bool WaitFor(const std::function<bool()>& done, DWORD waitMs = 10000);

}  // namespace testing_support
