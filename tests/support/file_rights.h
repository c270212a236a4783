#pragma once
// The rights of files and folders as the tests make and check them. Wine runs every process
// with one token and keeps no owners, and it keeps a DACL as the Unix mode's bits: rights for
// Everyone stand for the "other user" who made a file before the program.

#include <string>

namespace testing_support {

// An allowed entry lets Everyone, Users or Authenticated Users write, add files or change the
// rights (or there is no DACL at all).
bool UsersMayWrite(const std::string& path);

// Gives the file or folder to Users (where owners are kept) with full control for Everyone.
void GiveToEveryone(const std::string& path);

}  // namespace testing_support
