// Stands in for Renovix.dll in the tests of the real program: ShowMainDialogFirst writes one
// line to the file named by RENOVIX_STAND_IN_LOG, telling whether a translucent window of the
// calling thread (the veil) is up; InstallUpdates, run by rundll32, writes "install". With
// RENOVIX_STAND_IN_HOLD set it shows a message box captioned "Renovix stand-in" until someone
// closes it (for the screenshot tour).

#include <windows.h>

#include <cstdio>

namespace {

void Log(const char* line) {
    char path[MAX_PATH] = {};
    if (::GetEnvironmentVariableA("RENOVIX_STAND_IN_LOG", path, MAX_PATH)) {
        if (FILE* log = std::fopen(path, "ab")) {
            std::fprintf(log, "%s\n", line);
            std::fclose(log);
        }
    }
}

BOOL CALLBACK FindVeil(HWND window, LPARAM found) {
    if (::IsWindowVisible(window) && (::GetWindowLongPtr(window, GWL_EXSTYLE) & WS_EX_LAYERED)) {
        *reinterpret_cast<bool*>(found) = true;
    }
    return TRUE;
}

}  // namespace

extern "C" __declspec(dllexport) int ShowMainDialogFirst() {
    bool veil = false;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindVeil, reinterpret_cast<LPARAM>(&veil));
    Log(veil ? "called veil=1" : "called veil=0");
    if (::GetEnvironmentVariableA("RENOVIX_STAND_IN_HOLD", nullptr, 0)) {
        ::MessageBoxA(::GetActiveWindow(), "The update dialog runs here.", "Renovix stand-in",
                      MB_OK);
    }
    return 0;
}

// rundll32's entry, under its plain name (the target links with --kill-at).
extern "C" __declspec(dllexport) void CALLBACK InstallUpdates(HWND, HINSTANCE, LPSTR, int) {
    Log("install");
}
