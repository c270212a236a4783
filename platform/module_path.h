#pragma once
// Where the running program file is: the module file name of the process.

#include <string>

namespace platform {

// The full path of the program file (at most MAX_PATH characters), or empty text.
std::string ProgramFilePath();

// The program's folder with its trailing backslash, so that a file name can follow it.
std::string ProgramFolderWithBackslash();

}  // namespace platform
