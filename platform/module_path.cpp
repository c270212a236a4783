#include "platform/module_path.h"

#include <windows.h>

namespace platform {

std::string ProgramFilePath() {
    char path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    // A path cut at MAX_PATH is not a usable path.
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    return std::string(path, length);
}

std::string ProgramFolderWithBackslash() {
    const std::string path = ProgramFilePath();
    const size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace platform
