#include "tests/support/machine_state.h"

#include "engine/disabled_store.h"
#include "platform/com.h"
#include "platform/file_search.h"
#include "platform/registry_view.h"
#include "platform/shell_folders.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace testing_support {

namespace reg = platform::reg;

namespace {

void ClearValues(HKEY root, const char* path, REGSAM view) {
    platform::unique_hkey key;
    if (reg::CreateKey(root, path, KEY_ALL_ACCESS | view, key) != ERROR_SUCCESS) {
        throw std::runtime_error(std::string("cannot open ") + path);
    }
    reg::Value value;
    while (reg::EnumValue(key.get(), 0, value) == ERROR_SUCCESS) {
        if (reg::DeleteValue(key.get(), value.name) != ERROR_SUCCESS) {
            throw std::runtime_error("cannot delete value " + value.name);
        }
    }
}

void ClearFolder(const std::string& folder) {
    ::CreateDirectoryA(folder.c_str(), nullptr);
    platform::FileSearch search(folder + "\\*");
    std::vector<std::string> files;
    while (search.Next()) {
        if (!search.IsDirectory()) {
            files.push_back(folder + "\\" + search.Name());
        }
    }
    for (const auto& file : files) {
        ::SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!::DeleteFileA(file.c_str())) {
            throw std::runtime_error("cannot delete " + file);
        }
    }
}

}  // namespace

void ResetStartupSources() {
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
            ClearValues(root, kRunKey, view);
            ClearValues(root, kRunOnceKey, view);
        }
        for (const char* approved : {"Run", "Run32", "StartupFolder"}) {
            ClearValues(root, (std::string(kApprovedKey) + "\\" + approved).c_str(),
                        KEY_WOW64_64KEY);
        }
    }
    for (auto view : {reg::View::Native, reg::View::Wow32}) {
        for (const char* store : {engine::kStoreRegistryPath, engine::kStoreFolderPath}) {
            const LSTATUS status = reg::DeleteTreeIn(view, HKEY_LOCAL_MACHINE, store);
            if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) {
                throw std::runtime_error(std::string("cannot delete ") + store + ", error " +
                                         std::to_string(status));
            }
        }
    }
    ClearFolder(UserStartupFolder());
    ClearFolder(CommonStartupFolder());
    const std::string pss = PssFolder();
    ClearFolder(pss.substr(0, pss.size() - 1));
}

void SetRunValue(HKEY root, const char* key, const std::string& name, const std::string& data,
                 DWORD type, REGSAM view) {
    platform::unique_hkey k;
    reg::CreateKey(root, key, KEY_ALL_ACCESS | view, k);
    ::RegSetValueExA(k.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                     static_cast<DWORD>(data.size() + (type == REG_SZ || type == REG_EXPAND_SZ)));
}

std::string GetRunValue(HKEY root, const char* key, const std::string& name, DWORD* type,
                        REGSAM view) {
    platform::unique_hkey k;
    std::string data;
    DWORD t = REG_NONE;
    if (reg::OpenKey(root, key, KEY_READ | view, k) != ERROR_SUCCESS ||
        reg::QueryValue(k.get(), name, data, t) != ERROR_SUCCESS) {
        return "<missing>";
    }
    if (type) {
        *type = t;
    }
    return reg::TextOfData(data);
}

void SetApproval(HKEY root, const char* subkey, const std::string& name, const std::string& bytes,
                 DWORD type) {
    platform::unique_hkey k;
    reg::CreateKey(root, std::string(kApprovedKey) + "\\" + subkey,
                   KEY_ALL_ACCESS | KEY_WOW64_64KEY, k);
    ::RegSetValueExA(k.get(), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size()));
}

std::string GetApproval(HKEY root, const char* subkey, const std::string& name) {
    platform::unique_hkey k;
    std::string data;
    DWORD type = REG_NONE;
    if (reg::OpenKey(root, std::string(kApprovedKey) + "\\" + subkey, KEY_READ | KEY_WOW64_64KEY,
                     k) != ERROR_SUCCESS ||
        reg::QueryValue(k.get(), name, data, type) != ERROR_SUCCESS) {
        return "<missing>";
    }
    return data;
}

std::string UserStartupFolder() { return platform::ShellFolderPath(CSIDL_STARTUP); }
std::string CommonStartupFolder() { return platform::ShellFolderPath(CSIDL_COMMON_STARTUP); }
std::string PssFolder() { return engine::BackupFolder(); }

std::string CreateShortcut(const std::string& folder, const std::string& fileName,
                           const std::string& target, const std::string& arguments) {
    platform::ComApartment apartment;
    platform::com_ptr<IShellLinkA> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                  link.put_void()))) {
        throw std::runtime_error("no shell link object");
    }
    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    platform::com_ptr<IPersistFile> file;
    link.query(IID_IPersistFile, file);
    const std::string path = folder + "\\" + fileName;
    wchar_t wide[MAX_PATH];
    ::MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    if (!file || FAILED(file->Save(wide, TRUE))) {
        throw std::runtime_error("cannot save " + path);
    }
    return path;
}

void WriteFile(const std::string& path, const std::string& content) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        throw std::runtime_error("cannot write " + path);
    }
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> StoreKeyValues(const std::string& storeSubkeyPath, REGSAM view) {
    std::vector<std::string> lines;
    platform::unique_hkey key;
    if (reg::OpenKey(HKEY_LOCAL_MACHINE, storeSubkeyPath, KEY_READ | view, key) != ERROR_SUCCESS) {
        return lines;
    }
    reg::Value value;
    for (DWORD i = 0; reg::EnumValue(key.get(), i, value) == ERROR_SUCCESS; ++i) {
        std::string data;
        if (value.type == REG_DWORD && value.data.size() == 4) {
            DWORD d;
            std::memcpy(&d, value.data.data(), 4);
            data = std::to_string(d);
        } else {
            // Strings keep their terminator visible so its presence is checked too.
            for (char c : value.data) {
                data += c ? std::string(1, c) : std::string("\\0");
            }
        }
        lines.push_back(value.name + "=" + std::to_string(value.type) + ":" + data);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool KeyExists(HKEY root, const std::string& path, REGSAM view) {
    platform::unique_hkey key;
    return reg::OpenKey(root, path, KEY_READ | view, key) == ERROR_SUCCESS;
}

MessageBoxRecorder::MessageBoxRecorder() {
    previous_ = platform::SetMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
        shown_.push_back(request);
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { platform::SetMessageBoxHandler(previous_); }

}  // namespace testing_support
