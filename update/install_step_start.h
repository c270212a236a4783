#pragma once
// Hands over to Renovix's install step, which runs in a process of its own (rundll32) so that it
// can replace the program's files once the program has ended.

#include <string>

namespace update {

// Starts "<programFolder>\Renovix.dll",InstallUpdates through the rundll32 of the system folder
// (a bare name is looked for in the current folder first). False when it could not be started.
bool StartInstallStep(const std::wstring& programFolder);

}  // namespace update
