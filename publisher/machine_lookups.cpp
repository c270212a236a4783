#include "publisher/machine_lookups.h"

#include "platform/registry_view.h"
#include "platform/text_codec.h"

#include <windows.h>

namespace publisher {
namespace {

namespace text = platform::text;

// The redirection only exists for a 32-bit process on 64-bit Windows.
bool IsRedirected() { return !platform::IsProcess64Bit() && platform::IsWindows64Bit(); }

std::string EnvironmentValue(const std::wstring& name) {
    const DWORD count = ::GetEnvironmentVariableW(name.c_str(), nullptr, 0);
    if (count == 0) {
        return {};
    }
    std::wstring value(count, L'\0');
    const DWORD written = ::GetEnvironmentVariableW(name.c_str(), value.data(), count);
    if (written == 0 || written >= count) {
        return {};
    }
    value.resize(written);
    return text::Narrow(value);
}

bool EqualsNoCase(const std::wstring& a, const std::wstring& b) {
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::string Folder(UINT(WINAPI* get)(LPWSTR, UINT)) {
    wchar_t folder[MAX_PATH];
    const UINT count = get(folder, MAX_PATH);
    return count > 0 && count < MAX_PATH ? text::Narrow(std::wstring_view(folder, count))
                                         : std::string();
}

}  // namespace

std::optional<std::string> MachineLookups::Variable(std::string_view name) const {
    std::wstring wide = text::Wide(name);
    if (IsRedirected()) {
        // The 64-bit shell expands these to the native folders.
        if (EqualsNoCase(wide, L"ProgramFiles")) {
            wide = L"ProgramW6432";
        } else if (EqualsNoCase(wide, L"CommonProgramFiles")) {
            wide = L"CommonProgramW6432";
        }
    }
    if (::GetEnvironmentVariableW(wide.c_str(), nullptr, 0) == 0) {
        return std::nullopt;
    }
    return EnvironmentValue(wide);
}

bool MachineLookups::IsFile(const std::string& path) const {
    const DWORD attributes = ::GetFileAttributesW(text::Wide(NativePath(path)).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string MachineLookups::AppPath(const std::string& fileName) const {
    const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + fileName;
    std::string registered;
    platform::unique_hkey user, machine;
    if (platform::reg::OpenKey(HKEY_CURRENT_USER, key, KEY_READ, user) == ERROR_SUCCESS &&
        platform::reg::QueryString(user.get(), "", registered) == ERROR_SUCCESS) {
        return registered;
    }
    if (platform::reg::OpenKeyIn(platform::reg::View::Native, HKEY_LOCAL_MACHINE, key, KEY_READ,
                                 machine) == ERROR_SUCCESS &&
        platform::reg::QueryString(machine.get(), "", registered) == ERROR_SUCCESS) {
        return registered;
    }
    return {};
}

std::vector<std::string> MachineLookups::SystemFolders() const {
    std::vector<std::string> folders;
    for (auto get : {&::GetSystemDirectoryW, &::GetWindowsDirectoryW}) {
        if (std::string folder = Folder(get); !folder.empty()) {
            folders.push_back(std::move(folder));
        }
    }
    return folders;
}

std::string NativePath(const std::string& path) {
    if (!IsRedirected()) {
        return path;
    }
    static const std::wstring system32 = [] {
        wchar_t folder[MAX_PATH];
        const UINT count = ::GetWindowsDirectoryW(folder, MAX_PATH);
        return count > 0 && count < MAX_PATH ? std::wstring(folder, count) + L"\\System32"
                                             : std::wstring();
    }();
    const std::wstring wide = text::Wide(path);
    if (system32.empty() || wide.size() < system32.size() ||
        !EqualsNoCase(wide.substr(0, system32.size()), system32) ||
        (wide.size() > system32.size() && wide[system32.size()] != L'\\')) {
        return path;
    }
    const std::wstring sysnative =
        system32.substr(0, system32.size() - 8) + L"Sysnative" + wide.substr(system32.size());
    return text::Narrow(sysnative);
}

}  // namespace publisher
