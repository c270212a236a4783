#pragma once
// The rights of the data folder. It lies in the common application-data folder, where every
// user may create files and folders before Velbrook does: what Velbrook (elevated) reads there
// must be writable by administrators only. Velbrook\ and Velbrook\data get an explicit DACL
// (Administrators and SYSTEM full control, Users read, nothing inherited), and whatever lies
// there with another owner or with rights that let others write is taken back.

#include <string>

namespace shell {

// Creates the folder with the data folder's rights; an existing one is taken back when it is
// owned by anyone but Administrators or SYSTEM or lets others write, and a junction or link in
// its place is removed first. True when a plain folder with those rights is there afterwards.
bool SecureDataFolder(const std::string& folder);

// Takes back a file of the data folder like a folder; a link in its place is deleted.
void SecureDataFile(const std::string& file);

}  // namespace shell
