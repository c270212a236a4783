#include "engine/startup_folders.h"

#include "engine/shortcut.h"
#include "engine/startup_approval.h"
#include "engine/text.h"
#include "platform/file_search.h"
#include "platform/registry.h"
#include "platform/shell_folders.h"

#include <shlobj.h>

namespace engine {

namespace {

constexpr char kShellFoldersPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The shell's folder service knows both folders even where the Shell Folders key has not been
// written yet; the key stays the source for any other value.
int KnownFolderOf(HKEY root, const std::string& valueName) {
    if (root == HKEY_CURRENT_USER && EqualsNoCase(valueName, kUserStartupLabel)) {
        return CSIDL_STARTUP;
    }
    if (root == HKEY_LOCAL_MACHINE && EqualsNoCase(valueName, kCommonStartupLabel)) {
        return CSIDL_COMMON_STARTUP;
    }
    return -1;
}

std::string ShellFoldersValue(HKEY root, const std::string& valueName) {
    platform::unique_hkey key;
    if (platform::reg::OpenKey(root, kShellFoldersPath, KEY_READ, key) != ERROR_SUCCESS) {
        return {};
    }
    // Taken as stored: an expandable string is not expanded.
    std::string text;
    if (platform::reg::QueryString(key.get(), valueName, text) != ERROR_SUCCESS) {
        return {};
    }
    return text;
}

}  // namespace

std::string GetShellFolderPath(HKEY root, const std::string& valueName) {
    if (const int csidl = KnownFolderOf(root, valueName); csidl >= 0) {
        if (std::string path = platform::ShellFolderPath(csidl); !path.empty()) {
            return path;
        }
    }
    return ShellFoldersValue(root, valueName);
}

std::string FileTitle(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    return dot == std::string::npos ? fileName : fileName.substr(0, dot);
}

void EnumerateStartupFolder(HKEY root, const std::string& valueName, const EntrySink& sink) {
    const std::string folder = GetShellFolderPath(root, valueName);
    if (folder.empty()) {
        return;
    }
    platform::FileSearch search(folder + "\\*.lnk");
    ShortcutResolver resolver;
    // Task Manager names a shortcut's mark by its file name ("Tool.lnk").
    const ApprovalMarks marks(ApprovalKeyOf(valueName));
    StartupItem item;
    item.location = valueName;
    while (search.Next()) {
        const std::string fileName = search.Name();
        item.name = FileTitle(fileName);
        item.command = resolver.Resolve(CollapseBackslashes(folder + "\\" + fileName));
        item.enabled = !marks.IsOff(fileName);
        item.disabledBy = item.enabled ? StartupItem::DisabledBy::Store
                                       : StartupItem::DisabledBy::StartupApproved;
        sink(item);
    }
}

}  // namespace engine
