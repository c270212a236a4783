#pragma once
// An update that the install step could not finish (a file in use) waits for the next start in
// the data root's folder "update", which only administrators can write, not in the temporary
// folder every program of the user can write: the download, the release statement, their
// signatures and the list. The next start of Velbrook offers to finish it; the install step
// checks all of it again as it does a fresh download.

#include <string>

namespace update {

// The update list's name, in the temporary folder and in the kept update's folder.
inline constexpr wchar_t kUpdateListName[] = L"updatetmp.tmp";

// The kept update's folder, created or taken back with the data folder's rights and every file
// in it taken back; empty text when there is no such folder.
std::string KeptUpdateFolder();

// Whether an update waits there; nothing is created or changed.
bool KeptUpdateWaits();

}  // namespace update
