#include "shell/core/renovix_staging.h"

#include <windows.h>

namespace shell {

bool PutStagedRenovixInPlace(const std::string& folder) {
    const std::string staged = folder + "Renovix_s.dll";
    const std::string library = folder + "Renovix.dll";
    if (::GetFileAttributesA(staged.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    ::DeleteFileA(library.c_str());
    return ::MoveFileA(staged.c_str(), library.c_str()) != FALSE;
}

}  // namespace shell
