#include "tests/setup/setup_runner.h"

#include "platform/com.h"
#include "platform/registry_view.h"
#include "platform/shell_folders.h"
#include "platform/unique_any.h"

#include <shlobj.h>

#include <algorithm>
#include <stdexcept>

namespace testing_support {

namespace reg = platform::reg;

namespace {

constexpr unsigned long kSetupTimeoutMs = 180000;

std::string WindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

DWORD ActiveProcesses(HANDLE job) {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!::QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                     sizeof accounting, nullptr)) {
        return 0;
    }
    return accounting.ActiveProcesses;
}

}  // namespace

std::string Quoted(const std::string& path) {
    std::string quoted(1, '"');
    quoted += path;
    quoted += '"';
    return quoted;
}

std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> items;
    for (size_t start = 0; start <= list.size();) {
        size_t end = list.find('|', start);
        if (end == std::string::npos) {
            end = list.size();
        }
        if (end > start) {
            items.push_back(list.substr(start, end - start));
        }
        start = end + 1;
    }
    return items;
}

std::vector<std::string> ShippedFiles() { return SplitList(VELBROOK_SHIPPED_FILES); }

std::string DefaultInstallFolder() {
    // Asked by a process of the setup's own architecture: the 32-bit folder for a 32-bit one.
    return platform::ShellFolderPath(CSIDL_PROGRAM_FILES) + "\\Velbrook";
}

unsigned long RunAndWaitForAll(const std::string& commandLine) {
    platform::unique_handle job(::CreateJobObjectA(nullptr, nullptr));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string line = commandLine;
    if (!job || !::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                  nullptr, nullptr, &startup, &info)) {
        throw std::runtime_error("cannot start " + commandLine);
    }
    platform::unique_handle process(info.hProcess), thread(info.hThread);
    ::AssignProcessToJobObject(job.get(), process.get());
    ::ResumeThread(thread.get());
    const bool ended = PumpUntil(
        [&] {
            return ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0 &&
                   ActiveProcesses(job.get()) == 0;
        },
        kSetupTimeoutMs);
    if (!ended) {
        ::TerminateJobObject(job.get(), 1);
        throw std::runtime_error(commandLine + " did not end");
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.get(), &code);
    return code;
}

unsigned long RunSetup(const std::string& arguments) {
    return RunAndWaitForAll(Quoted(WindowsPath(VELBROOK_SETUP_PATH)) + " " + arguments);
}

unsigned long RunQuietUninstall() {
    const std::string command = UninstallValue("QuietUninstallString");
    if (command == "<missing>") {
        throw std::runtime_error("no quiet uninstall command");
    }
    return RunAndWaitForAll(command);
}

void UninstallIfInstalled() {
    if (UninstallValue("QuietUninstallString") != "<missing>") {
        RunQuietUninstall();
    }
    const LSTATUS status =
        reg::DeleteTreeIn(kSetupView == KEY_WOW64_64KEY ? reg::View::Native : reg::View::Wow32,
                          HKEY_LOCAL_MACHINE, kUninstallKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        throw std::runtime_error("cannot remove the Uninstall key");
    }
}

std::string UninstallValue(const std::string& name) {
    platform::unique_hkey key;
    std::string text;
    if (reg::OpenKey(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_READ | kSetupView, key) !=
            ERROR_SUCCESS ||
        reg::QueryString(key.get(), name, text) != ERROR_SUCCESS) {
        return "<missing>";
    }
    return text;
}

unsigned long UninstallSizeKiB() {
    platform::unique_hkey key;
    DWORD size = 0;
    if (reg::OpenKey(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_READ | kSetupView, key) ==
        ERROR_SUCCESS) {
        reg::QueryDword(key.get(), "EstimatedSize", size);
    }
    return size;
}

void SuppressStartupUpdateCheck() {
    platform::unique_hkey key;
    if (reg::CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Velbrook", KEY_SET_VALUE | KEY_WOW64_32KEY,
                       key) == ERROR_SUCCESS) {
        reg::SetString(key.get(), "strtupdates", "1");
    }
}

RunningProgram::RunningProgram(const std::string& path, const std::string& arguments) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = Quoted(path) + (arguments.empty() ? "" : " " + arguments);
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info_)) {
        throw std::runtime_error("cannot start " + line);
    }
}

RunningProgram::~RunningProgram() {
    if (::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(info_.hProcess, 1);
        ::WaitForSingleObject(info_.hProcess, 10000);
    }
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
}

HWND RunningProgram::WaitForWindow(const std::string& title, unsigned long timeoutMs) {
    HWND found = nullptr;
    PumpUntil(
        [&] {
            for (HWND w = ::FindWindowExA(nullptr, nullptr, nullptr, title.c_str()); w;
                 w = ::FindWindowExA(nullptr, w, nullptr, title.c_str())) {
                DWORD pid = 0;
                ::GetWindowThreadProcessId(w, &pid);
                if (pid == info_.dwProcessId) {
                    found = w;
                    return true;
                }
            }
            return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
    return found;
}

bool RunningProgram::WaitForExit(unsigned long timeoutMs) {
    return PumpUntil([&] { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; },
                     timeoutMs);
}

HWND WaitForAnyWindow(const std::string& title, unsigned long timeoutMs) {
    HWND found = nullptr;
    PumpUntil([&] { return (found = ::FindWindowA(nullptr, title.c_str())) != nullptr; },
              timeoutMs);
    return found;
}

std::string ProcessImagePath(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    platform::unique_handle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    char path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !::QueryFullProcessImageNameA(process.get(), 0, path, &size)) {
        return {};
    }
    return std::string(path, size);
}

}  // namespace testing_support
