#pragma once
// The data root: the common application-data folder + "\Velbrook", where the data files live.

#include <string>

namespace shell {

// The full path of a name relative to the data root ("data\history.dat"). Creates the root
// with all missing parents, nothing inside the relative part. Without a common
// application-data folder: the program's own folder, and nothing is created.
std::string DataPath(const std::string& relativeName);

// Creates DataPath("data") with all missing parents; true when it exists afterwards.
bool PrepareDataFolder();

// Creates a folder and every missing parent, one component at a time. A drive prefix ("C:\")
// or a leading "\" is kept whole.
bool CreateFolderWithParents(const std::string& path);

}  // namespace shell
