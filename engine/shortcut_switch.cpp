// Switching Startup-folder shortcuts off into the pss folder and startupfolder, and back.

#include "engine/disabled_store.h"
#include "engine/returning_rules.h"
#include "engine/shortcut.h"
#include "engine/startup_approval.h"
#include "engine/startup_folders.h"
#include "engine/switch_reports.h"
#include "engine/switch_kinds.h"
#include "engine/text.h"
#include "platform/file_search.h"
#include "platform/registry_view.h"

namespace engine {

namespace {

namespace reg = platform::reg;
using reg::View;

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool KeyExists(HKEY parent, const std::string& name) {
    platform::unique_hkey key;
    return reg::OpenKeyIn(View::Native, parent, name, KEY_QUERY_VALUE, key) == ERROR_SUCCESS;
}

// Whether the store key is the record of this shortcut, moved to this backup.
bool IsRecordOf(HKEY storeRoot, const std::string& keyName, const std::string& fullPath,
                const std::string& backupPath) {
    platform::unique_hkey key;
    std::string path, backup;
    return reg::OpenKeyIn(View::Native, storeRoot, keyName, KEY_QUERY_VALUE, key) ==
               ERROR_SUCCESS &&
           reg::QueryString(key.get(), store::kPath, path) == ERROR_SUCCESS &&
           reg::QueryString(key.get(), store::kBackup, backup) == ERROR_SUCCESS &&
           EqualsNoCase(CollapseBackslashes(path), CollapseBackslashes(fullPath)) &&
           EqualsNoCase(CollapseBackslashes(backup), CollapseBackslashes(backupPath));
}

struct ShortcutFile {
    std::string fullPath;
    std::string fileName;
    std::string folder;  // ending in a backslash
};

// The first "*.lnk" whose file title is exactly the name (case counts here).
bool FindShortcut(const std::string& folder, const std::string& name, ShortcutFile& out) {
    platform::FileSearch search(folder + "\\*.lnk");
    while (search.Next()) {
        const std::string fileName = search.Name();
        if (FileTitle(fileName) == name) {
            out.folder = CollapseBackslashes(folder + "\\");
            out.fileName = fileName;
            out.fullPath = out.folder + fileName;
            return true;
        }
    }
    return false;
}

// Which stored shortcut a record means: its location is either the active label ("Startup",
// as a fix file keeps it) or the folder the shortcut lay in (as the store lists it).
bool StoredLocationMatches(HKEY storeKey, const std::string& itemLocation) {
    if (itemLocation.empty()) {
        return true;
    }
    std::string extension;
    if (EqualsNoCase(itemLocation, kUserStartupLabel) ||
        EqualsNoCase(itemLocation, kCommonStartupLabel)) {
        if (reg::QueryString(storeKey, store::kBackupExtension, extension) != ERROR_SUCCESS) {
            return true;
        }
        const bool user = EqualsNoCase(itemLocation, kUserStartupLabel);
        return EqualsNoCase(extension, user ? kUserBackupExtension : kCommonBackupExtension);
    }
    std::string folder;
    if (reg::QueryString(storeKey, store::kLocation, folder) != ERROR_SUCCESS) {
        return true;
    }
    return EqualsNoCase(CollapseBackslashes(folder + "\\"),
                        CollapseBackslashes(itemLocation + "\\"));
}

}  // namespace

bool DisableShortcutItem(const StartupItem& item, ReportStyle style) {
    HKEY root;
    const char* extension;
    if (EqualsNoCase(item.location, kUserStartupLabel)) {
        root = HKEY_CURRENT_USER;
        extension = kUserBackupExtension;
    } else if (EqualsNoCase(item.location, kCommonStartupLabel)) {
        root = HKEY_LOCAL_MACHINE;
        extension = kCommonBackupExtension;
    } else {
        return false;
    }
    const std::string folder = GetShellFolderPath(root, item.location);
    ShortcutFile shortcut;
    if (folder.empty() || !FindShortcut(folder, item.name, shortcut)) {
        return false;
    }
    const std::string backupFolder = BackupFolder();
    ::CreateDirectoryA(backupFolder.c_str(), nullptr);
    const std::string backupPath = backupFolder + shortcut.fileName + extension;
    const std::string keyName = ShortcutStoreKeyName(shortcut.fullPath);

    platform::unique_hkey storeRoot;
    if (reg::CreateKeyIn(View::Native, HKEY_LOCAL_MACHINE, kStoreFolderPath, KEY_READ | KEY_WRITE,
                         storeRoot) != ERROR_SUCCESS ||
        keyName.empty()) {
        reports::DisableFailed(item.name, style);
        return false;
    }
    // The shortcut put itself back after it was switched off: its own record and backup are
    // replaced by the newer copy. Any other earlier backup or record of that file name is kept.
    const bool replacing = KeyExists(storeRoot.get(), keyName);
    if (replacing ? !IsRecordOf(storeRoot.get(), keyName, shortcut.fullPath, backupPath) ||
                        !::CopyFileA(shortcut.fullPath.c_str(), backupPath.c_str(), FALSE)
                  : FileExists(backupPath)) {
        reports::DisableFailed(item.name, style);
        return false;
    }
    platform::unique_hkey storeKey;
    if (reg::CreateKeyIn(View::Native, storeRoot.get(), keyName, KEY_WRITE, storeKey) !=
        ERROR_SUCCESS) {
        reports::DisableFailed(item.name, style);
        return false;
    }
    bool moved =
        reg::SetString(storeKey.get(), store::kItem, item.name) == ERROR_SUCCESS &&
        reg::SetString(storeKey.get(), store::kPath, shortcut.fullPath) == ERROR_SUCCESS &&
        reg::SetString(storeKey.get(), store::kBackupExtension, extension) == ERROR_SUCCESS &&
        reg::SetString(storeKey.get(), store::kCommand, item.command) == ERROR_SUCCESS &&
        reg::SetString(storeKey.get(), store::kLocation, shortcut.folder) == ERROR_SUCCESS &&
        reg::SetString(storeKey.get(), store::kBackup, backupPath) == ERROR_SUCCESS;
    if (moved) {
        WriteSwitchTime(storeKey.get());
        moved =
            replacing || ::CopyFileA(shortcut.fullPath.c_str(), backupPath.c_str(), TRUE) != FALSE;
        if (moved && !::DeleteFileA(shortcut.fullPath.c_str())) {
            if (!replacing) {
                ::DeleteFileA(backupPath.c_str());
            }
            moved = false;
        }
    }
    if (!moved) {
        storeKey.reset();
        // A replaced record stays: it holds the backup, which is the active copy's now.
        if (!replacing) {
            reg::DeleteTreeIn(View::Native, storeRoot.get(), keyName);
        }
        reports::DisableFailed(item.name, style);
    }
    return moved;
}

namespace {

// Task Manager's switch: the shortcut lies in its folder, marked off under its file name.
bool SwitchOnApproval(const StartupItem& item) {
    const auto approval = ApprovalKeyOf(item.location);
    const HKEY root =
        EqualsNoCase(item.location, kUserStartupLabel) ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    ShortcutFile shortcut;
    const std::string folder = approval ? GetShellFolderPath(root, item.location) : std::string();
    return !folder.empty() && FindShortcut(folder, item.name, shortcut) &&
           IsMarkedOff(*approval, shortcut.fileName) &&
           SwitchApprovalOn(*approval, shortcut.fileName) == ERROR_SUCCESS;
}

enum class Restore { NotFound, Restored, Failed };

// Puts back the first shortcut of the store of one view that the record means.
Restore RestoreFromStore(View view, const StartupItem& item, ReportStyle style) {
    platform::unique_hkey storeRoot;
    if (reg::OpenKeyIn(view, HKEY_LOCAL_MACHINE, kStoreFolderPath, KEY_READ, storeRoot) !=
        ERROR_SUCCESS) {
        return Restore::NotFound;
    }
    std::string subkeyName;
    for (DWORD index = 0; reg::EnumSubkey(storeRoot.get(), index, subkeyName) == ERROR_SUCCESS;
         ++index) {
        platform::unique_hkey subkey;
        std::string storedName, path, backup;
        if (reg::OpenKeyIn(view, storeRoot.get(), subkeyName, KEY_QUERY_VALUE, subkey) !=
                ERROR_SUCCESS ||
            reg::QueryString(subkey.get(), store::kItem, storedName) != ERROR_SUCCESS ||
            storedName.empty() || !EqualsNoCase(storedName, item.name) ||
            !StoredLocationMatches(subkey.get(), item.location) ||
            reg::QueryString(subkey.get(), store::kPath, path) != ERROR_SUCCESS || path.empty() ||
            reg::QueryString(subkey.get(), store::kBackup, backup) != ERROR_SUCCESS ||
            backup.empty()) {
            continue;
        }
        std::string storedCommand;
        const bool hasCommand =
            reg::QueryString(subkey.get(), store::kCommand, storedCommand) == ERROR_SUCCESS;
        subkey.reset();
        // A shortcut that put itself back lies at the path: the older copy must not replace it.
        if (hasCommand && FileExists(path) &&
            SameProgramCommand(ResolveShortcutCommand(path), storedCommand)) {
            reports::AlreadyBack(item.name, style);
            return Restore::Failed;
        }
        if (!::CopyFileA(backup.c_str(), path.c_str(), FALSE)) {
            reports::EnableFailed(item.name, style);
            continue;
        }
        // The backup and the store key go, or the entry stays switched off: a backup left
        // behind would block the next switch-off of that shortcut, a store key would list it
        // twice.
        if (!::DeleteFileA(backup.c_str())) {
            ::DeleteFileA(path.c_str());
            reports::EnableFailed(item.name, style);
            return Restore::Failed;
        }
        if (reg::DeleteTreeIn(view, storeRoot.get(), subkeyName) != ERROR_SUCCESS) {
            if (!::MoveFileExA(path.c_str(), backup.c_str(), MOVEFILE_COPY_ALLOWED)) {
                ::CopyFileA(path.c_str(), backup.c_str(), TRUE);
            }
            reports::EnableFailed(item.name, style);
            return Restore::Failed;
        }
        return Restore::Restored;
    }
    return Restore::NotFound;
}

}  // namespace

bool EnableShortcutItem(const StartupItem& item, ReportStyle style) {
    if (item.disabledBy == StartupItem::DisabledBy::StartupApproved && SwitchOnApproval(item)) {
        return true;
    }
    for (const View view : StoreViews()) {
        switch (RestoreFromStore(view, item, style)) {
        case Restore::Restored: return true;
        case Restore::Failed: return false;
        case Restore::NotFound: break;
        }
    }
    return SwitchOnApproval(item);
}

}  // namespace engine
