#include "platform/shell_folders.h"

#include "platform/text_codec.h"

#include <windows.h>
#include <shlobj.h>

namespace platform {

std::string ShellFolderPath(int csidl) {
    // The wide call: MAX_PATH characters may take more than MAX_PATH bytes in UTF-8.
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) {
        return {};
    }
    return text::Narrow(path);
}

}  // namespace platform
