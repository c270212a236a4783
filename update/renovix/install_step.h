#pragma once
// The install step, run by rundll32 in a process of its own after the download dialog has
// ended Velbrook (or at a start of Velbrook that finishes a kept update): it reads the update
// list (from the temporary folder, or else the kept update's), asks a still running Velbrook to
// close, puts every signed download that the release statement lists in place (moved, or unpacked
// when it is a ZIP), deletes the downloads and the list, sets "afupsc" and starts Velbrook again
// with "-wnw". Everything it installs or runs lies below the folder the library was started from
// and is the very bytes whose signature it checked.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace renovix {

struct InstallOptions {
    std::wstring tempFolder;     // the expansion of %temp%
    std::wstring programFolder;  // where this library lies: the only folder it installs into
    // Where a package that could not go in whole (a file in use) is kept for the next start: a
    // folder only administrators can write (update/kept_update.h). Empty: nothing is kept.
    std::wstring keptFolder;
    DWORD waitMs = 3000;  // time for the Velbrook process to end
    // Called with each download's path after its signature was checked and before anything of
    // it is installed; the tests swap the file there. A real run sets none.
    std::function<void(const std::wstring& download)> afterCheck;
};

// What became of the listed files beside those that went in.
struct InstallReport {
    // Not installed: a destination outside the program folder, an unsigned or unreadable
    // download, one that the signed release statement (of a newer version) does not list with
    // that destination and digest, a list for another folder.
    std::vector<std::wstring> refused;
    // Could not be put in place (a file in use): their downloads, signatures and list lines and
    // the statement are kept for the next run of the step.
    std::vector<std::wstring> failed;
};

// The options of a real run.
InstallOptions DefaultInstallOptions();

// 1 when the list file was opened (whatever became of the single files), 0 when not. A refused
// or failed file ends in a message that the update failed.
int RunInstallStep(const InstallOptions& options, InstallReport* report = nullptr);

// Where a name relative to folder lies once resolved: its canonical full path when that, and
// the real location of the nearest folder on the way that exists (junctions followed), lie
// below folder; nothing otherwise.
std::optional<std::wstring> ResolvedBelow(const std::wstring& folder, const std::wstring& name);

}  // namespace renovix
