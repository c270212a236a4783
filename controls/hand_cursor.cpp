#include "controls/hand_cursor.h"

#include "controls/text.h"
#include "platform/unique_any.h"

namespace controls {

namespace {
HCURSOR LoadHandCursor() {
    TCHAR windows[MAX_PATH] = {};
    if (::GetWindowsDirectory(windows, MAX_PATH) > 0) {
        const tstring path = tstring(windows) + TEXT("\\winhlp32.exe");
        platform::unique_hmodule help(
            ::LoadLibraryEx(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        if (help) {
            if (HCURSOR cursor = ::LoadCursor(help.get(), MAKEINTRESOURCE(106))) {
                if (HCURSOR copy = reinterpret_cast<HCURSOR>(::CopyIcon(cursor))) {
                    return copy;
                }
            }
        }
    }
    if (HCURSOR hand = ::LoadCursor(nullptr, IDC_HAND)) {
        return hand;
    }
    return ::LoadCursor(nullptr, IDC_ARROW);
}
}  // namespace

HCURSOR HandCursor() {
    static const HCURSOR cursor = LoadHandCursor();
    return cursor;
}

}  // namespace controls
