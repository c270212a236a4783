#pragma once
// The install step, run by rundll32 in a process of its own after the download dialog has
// ended Velbrook: it reads the update list, asks a still running Velbrook to close, puts every
// signed download in place (moved, or unpacked when it is a ZIP), deletes the downloads and the
// list, sets "afupsc" and starts Velbrook again with "-wnw".

#include <windows.h>

#include <string>

namespace renovix {

struct InstallOptions {
    std::wstring tempFolder;     // the expansion of %temp%
    std::wstring programFolder;  // where this library lies: the only folder it installs into
    DWORD waitMs = 3000;         // time for the Velbrook process to end
};

// The options of a real run.
InstallOptions DefaultInstallOptions();

// 1 when the list file was opened (whatever became of the single files), 0 when not.
int RunInstallStep(const InstallOptions& options);

// Unpacks the ZIP archive into folder: every entry whose cleaned name stays below the folder,
// each written to a temporary file beside its target that replaces the target only when the
// entry was read whole with a matching CRC-32. False when the archive cannot be opened.
bool UnpackArchive(const std::wstring& archive, const std::wstring& folder);

}  // namespace renovix
