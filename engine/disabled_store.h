#pragma once
// The store of switched-off entries that the Windows system configuration tool shares:
// one subkey per entry under startupreg (registry values) and startupfolder (shortcuts),
// below HKLM, and the pss backup folder for the moved shortcut files.

#include "engine/startup_item.h"
#include "platform/registry_view.h"

#include <windows.h>

#include <string>
#include <vector>

namespace engine {

inline constexpr char kStoreRegistryPath[] =
    "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupreg";
inline constexpr char kStoreFolderPath[] =
    "SOFTWARE\\Microsoft\\Shared Tools\\MSConfig\\startupfolder";

// Values of a store key.
namespace store {
inline constexpr char kKey[] = "key";
inline constexpr char kItem[] = "item";
inline constexpr char kCommand[] = "command";
inline constexpr char kHkey[] = "hkey";
inline constexpr char kIniMapping[] = "inimapping";
inline constexpr char kPath[] = "path";
inline constexpr char kBackupExtension[] = "backupExtension";
inline constexpr char kLocation[] = "location";
inline constexpr char kBackup[] = "backup";
// Ours: the value type the Run value had (REG_EXPAND_SZ comes back as such). The system
// configuration tool ignores values it does not know.
inline constexpr char kValueType[] = "regtype";
}  // namespace store

inline constexpr char kUserBackupExtension[] = ".Startup";
inline constexpr char kCommonBackupExtension[] = ".CommonStartup";

// Hands every readable store entry to the sink as switched off: shortcuts first, then
// registry values. Subkeys without the values a listing needs are skipped.
void ReadDisabledEntries(const EntrySink& sink);

// The views the store is read in: the 64-bit one, where the system configuration tool keeps
// it and where records are written, and on 64-bit Windows also the 32-bit programs' copy
// (Wow6432Node\...\MSConfig), where 32-bit programs left theirs.
std::vector<platform::reg::View> StoreViews();

// The location of the entry a startupreg record names: hkey + "\" + key. A record in the
// 32-bit copy that names HKLM\Software means the 32-bit programs' key, so it gets that key's
// real (Wow6432Node) path.
std::string StoredRunLocation(platform::reg::View view, const std::string& hkey,
                              const std::string& key);

// The startupfolder subkey name of a shortcut: its full path, backslashes as "^".
std::string ShortcutStoreKeyName(const std::string& fullPath);

// The Windows folder + "\pss\".
std::string BackupFolder();

// YEAR ... SECOND of the local time now; 0 and 0xFFFFFFFF when the time can't be worked out.
void WriteSwitchTime(HKEY storeKey);

}  // namespace engine
