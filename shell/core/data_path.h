#pragma once
// The data root: the common application-data folder + "\Velbrook", where the data files live.

#include <string>

namespace shell {

// The full path of a name relative to the data root ("data\history.dat"). Creates the root
// (with the data folder's rights) and its missing parents, nothing inside the relative part.
// Without a common application-data folder: the program's own folder, and nothing is created.
std::string DataPath(const std::string& relativeName);

// Creates DataPath(name), a folder directly below the root, with all missing parents and the data
// folder's rights, and takes back the root, the folder and every file in it that someone else
// made or may write (a link in the place of one is removed). Its path, or empty text when the
// folder is not there afterwards.
std::string PrepareDataSubfolder(const std::string& name);
// PrepareDataSubfolder("data"); true when the folder exists afterwards.
bool PrepareDataFolder();

// Creates a folder and every missing parent, one component at a time. A drive prefix ("C:\")
// or a leading "\" is kept whole.
bool CreateFolderWithParents(const std::string& path);

}  // namespace shell
