#pragma once

#include <string>

namespace platform {

// The path of a shell folder (CSIDL_*), or empty text when the shell can't give one.
std::string ShellFolderPath(int csidl);

}  // namespace platform
