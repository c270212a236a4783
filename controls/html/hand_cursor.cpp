#include "controls/html/hand_cursor.h"

#include <string>

namespace controls::html {

platform::unique_hcursor LoadHandCursor() {
    char folder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return {};
    }
    const std::string path = std::string(folder) + "\\winhlp32.exe";
    platform::unique_hmodule module(
        ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module) {
        return {};
    }
    const HCURSOR cursor = ::LoadCursorA(module.get(), MAKEINTRESOURCEA(106));
    if (!cursor) {
        return {};
    }
    // The copy outlives the module.
    return platform::unique_hcursor(static_cast<HCURSOR>(::CopyIcon(cursor)));
}

}  // namespace controls::html
