#include "update/install_step_start.h"

#include <windows.h>
#include <shellapi.h>

namespace update {

bool StartInstallStep(const std::wstring& programFolder) {
    wchar_t system[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    const std::wstring rundll = std::wstring(system, length) + L"\\rundll32.exe";
    const std::wstring parameters = L"\"" + programFolder + L"\\Renovix.dll\",InstallUpdates";
    return reinterpret_cast<INT_PTR>(::ShellExecuteW(
               nullptr, L"open", rundll.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL)) > 32;
}

}  // namespace update
