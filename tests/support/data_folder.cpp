#include "tests/support/data_folder.h"

#include "platform/file_search.h"
#include "platform/registry_view.h"
#include "shell/core/data_path.h"
#include "shell/core/settings_key.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace testing_support {

void ResetDataFolder() {
    const std::string folder = shell::DataPath("data");
    shell::CreateFolderWithParents(folder);
    std::vector<std::pair<std::string, bool>> found;
    platform::FileSearch search(folder + "\\*");
    while (search.Next()) {
        const std::string name = search.Name();
        if (name != "." && name != "..") {
            found.emplace_back(folder + "\\" + name, search.IsDirectory());
        }
    }
    for (const auto& [path, directory] : found) {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (directory ? !::RemoveDirectoryA(path.c_str()) : !::DeleteFileA(path.c_str())) {
            throw std::runtime_error("cannot remove " + path);
        }
    }
}

void ResetSettingsKey() {
    const LSTATUS status = platform::reg::DeleteTreeIn(
        platform::reg::View::Wow32, HKEY_LOCAL_MACHINE, shell::SettingsKeyPath());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
        throw std::runtime_error("cannot remove the settings key");
    }
}

void StoreSetting(const std::string& name, const std::string& data, DWORD type) {
    platform::unique_hkey key;
    if (platform::reg::CreateKey(HKEY_LOCAL_MACHINE, shell::SettingsKeyPath(),
                                 KEY_SET_VALUE | kSettingsView, key) != ERROR_SUCCESS ||
        ::RegSetValueExA(key.get(), name.c_str(), 0, type,
                         reinterpret_cast<const BYTE*>(data.data()),
                         static_cast<DWORD>(data.size())) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot store the setting " + name);
    }
}

void DeleteSetting(const std::string& name) {
    platform::unique_hkey key;
    if (platform::reg::OpenKey(HKEY_LOCAL_MACHINE, shell::SettingsKeyPath(),
                               KEY_SET_VALUE | kSettingsView, key) == ERROR_SUCCESS) {
        platform::reg::DeleteValue(key.get(), name);
    }
}

std::string ReadFileBytes(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        return "<missing>";
    }
    std::string content;
    char buffer[4096];
    size_t read;
    while ((read = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        content.append(buffer, read);
    }
    std::fclose(f);
    return content;
}

void ResizeFile(const std::string& path, size_t size) {
    platform::unique_hfile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size);
    if (!file || !::SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) ||
        !::SetEndOfFile(file.get())) {
        throw std::runtime_error("cannot resize " + path);
    }
}

}  // namespace testing_support
