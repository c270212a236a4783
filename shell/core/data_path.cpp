#include "shell/core/data_path.h"

#include "engine/product_name.h"
#include "platform/file_search.h"
#include "platform/module_path.h"
#include "platform/shell_folders.h"
#include "shell/core/data_folder_rights.h"

#include <windows.h>
#include <shlobj.h>

namespace shell {

namespace {

bool FolderExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Where the walk starts: "C:\" of a drive path, or the leading "\" (several for a UNC path).
size_t KeptPrefixLength(const std::string& path) {
    const size_t drive = path.find(":\\");
    if (drive != std::string::npos) {
        return drive + 2;
    }
    return path.find_first_not_of('\\') == std::string::npos ? path.size()
                                                             : path.find_first_not_of('\\');
}

}  // namespace

bool CreateFolderWithParents(const std::string& path) {
    size_t next = KeptPrefixLength(path);
    while (next < path.size()) {
        size_t end = path.find('\\', next);
        if (end == std::string::npos) {
            end = path.size();
        }
        if (end > next) {
            ::CreateDirectoryA(path.substr(0, end).c_str(), nullptr);
        }
        next = end + 1;
    }
    return FolderExists(path);
}

std::string DataPath(const std::string& relativeName) {
    const std::string common = platform::ShellFolderPath(CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE);
    if (common.empty()) {
        return platform::ProgramFolderWithBackslash() + relativeName;
    }
    const std::string root = common + "\\" + engine::ProductName;
    if (!FolderExists(root)) {
        CreateFolderWithParents(common);
        SecureDataFolder(root);
    }
    return root + "\\" + relativeName;
}

std::string PrepareDataSubfolder(const std::string& name) {
    // Before anything of it is read: whatever a user made there first is taken back.
    const std::string folder = DataPath(name);
    SecureDataFolder(folder.substr(0, folder.rfind('\\')));
    if (!SecureDataFolder(folder)) {
        return {};
    }
    platform::FileSearch search(folder + "\\*");
    while (search.Next()) {
        const std::string entry = search.Name();
        if (entry != "." && entry != "..") {
            SecureDataFile(folder + "\\" + entry);
        }
    }
    return FolderExists(folder) ? folder : std::string();
}

bool PrepareDataFolder() { return !PrepareDataSubfolder("data").empty(); }

}  // namespace shell
