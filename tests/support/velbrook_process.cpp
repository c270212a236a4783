#include "tests/support/velbrook_process.h"

#include <stdexcept>
#include <vector>

namespace testing_support {

std::string BuiltVelbrookPath() { return VELBROOK_EXE_PATH; }

ProgramFolder::ProgramFolder(const std::string& name) {
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + name + "-" + std::to_string(::GetCurrentProcessId()) + "\\";
    ::CreateDirectoryA(path_.c_str(), nullptr);
    if (!::CopyFileA(BuiltVelbrookPath().c_str(), exe().c_str(), FALSE)) {
        throw std::runtime_error("cannot copy " + BuiltVelbrookPath());
    }
}

ProgramFolder::~ProgramFolder() {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path_ + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                ::DeleteFileA((path_ + found.cFileName).c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path_.c_str());
}

HWND FindProcessWindow(DWORD processId, const std::string& className, const std::string& title,
                       UINT withItem, bool visibleOnly) {
    struct Search {
        DWORD processId;
        const std::string& className;
        const std::string& title;
        UINT withItem;
        bool visibleOnly;
        HWND found;
    } search{processId, className, title, withItem, visibleOnly, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM context) CALLBACK -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner != s.processId || (s.visibleOnly && !::IsWindowVisible(window))) {
                return TRUE;
            }
            char text[256] = {};
            if (!s.className.empty()) {
                ::GetClassNameA(window, text, sizeof text);
                if (s.className != text) {
                    return TRUE;
                }
            }
            if (!s.title.empty()) {
                ::GetWindowTextA(window, text, sizeof text);
                if (s.title != text) {
                    return TRUE;
                }
            }
            if (s.withItem && !::GetDlgItem(window, static_cast<int>(s.withItem))) {
                return TRUE;
            }
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindMainWindow(DWORD processId, bool visibleOnly) {
    constexpr UINT kHomeButton = 1071;
    return FindProcessWindow(processId, "#32770", "Velbrook", kHomeButton, visibleOnly);
}

HWND FindMessageBox(DWORD processId, UINT buttonId) {
    return FindProcessWindow(processId, "#32770", "", buttonId);
}

bool WaitFor(const std::function<bool()>& done, DWORD waitMs) {
    const ULONGLONG until = ::GetTickCount64() + waitMs;
    while (!done()) {
        if (::GetTickCount64() >= until) {
            return false;
        }
        ::Sleep(20);
    }
    return true;
}

RunningVelbrook::RunningVelbrook(const std::string& exe, const std::string& arguments,
                                 bool waitForWindow) {
    std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info)) {
        throw std::runtime_error("cannot start " + commandLine + ", error " +
                                 std::to_string(::GetLastError()));
    }
    ::CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
    if (waitForWindow) {
        WaitFor(
            [this] {
                window_ = FindMainWindow(processId_);
                return window_ != nullptr;
            },
            20000);
    }
}

RunningVelbrook::~RunningVelbrook() {
    if (WaitForExit(0) == STILL_ACTIVE) {
        HWND main = window_ ? window_ : FindMainWindow(processId_, false);
        if (main) {
            ::PostMessage(main, WM_CLOSE, 1, 1);
        }
        if (WaitForExit(10000) == STILL_ACTIVE) {
            ::TerminateProcess(process_.get(), 99);
            WaitForExit(5000);
        }
    }
}

DWORD RunningVelbrook::WaitForExit(DWORD waitMs) const {
    ::WaitForSingleObject(process_.get(), waitMs);
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

DWORD RunningVelbrook::CloseForGood(DWORD waitMs) const {
    ::PostMessage(window_, WM_CLOSE, 1, 1);
    return WaitForExit(waitMs);
}

}  // namespace testing_support
