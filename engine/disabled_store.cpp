#include "engine/disabled_store.h"

#include "engine/text.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/shell_folders.h"

#include <shlobj.h>

#include <algorithm>

namespace engine {

namespace {

using platform::reg::QueryString;

template <typename ReadEntry>
void ForEachStoreSubkey(const char* storePath, ReadEntry&& readEntry) {
    platform::unique_hkey store;
    if (platform::reg::OpenKey(HKEY_LOCAL_MACHINE, storePath, KEY_READ, store) != ERROR_SUCCESS) {
        return;
    }
    std::string subkeyName;
    for (DWORD index = 0; platform::reg::EnumSubkey(store.get(), index, subkeyName) == ERROR_SUCCESS;
         ++index) {
        platform::unique_hkey subkey;
        if (platform::reg::OpenKey(store.get(), subkeyName, KEY_READ, subkey) == ERROR_SUCCESS) {
            readEntry(subkey.get());
        }
    }
}

}  // namespace

void ReadDisabledEntries(const EntrySink& sink) {
    ForEachStoreSubkey(kStoreFolderPath, [&](HKEY subkey) {
        StartupItem item;
        item.enabled = false;
        if (QueryString(subkey, store::kLocation, item.location) == ERROR_SUCCESS &&
            QueryString(subkey, store::kItem, item.name) == ERROR_SUCCESS &&
            QueryString(subkey, store::kCommand, item.command) == ERROR_SUCCESS) {
            sink(item);
        }
    });
    ForEachStoreSubkey(kStoreRegistryPath, [&](HKEY subkey) {
        StartupItem item;
        item.enabled = false;
        std::string hkey, key;
        if (QueryString(subkey, store::kHkey, hkey) == ERROR_SUCCESS && !hkey.empty() &&
            QueryString(subkey, store::kKey, key) == ERROR_SUCCESS &&
            QueryString(subkey, store::kItem, item.name) == ERROR_SUCCESS &&
            QueryString(subkey, store::kCommand, item.command) == ERROR_SUCCESS) {
            item.location = hkey + "\\" + key;
            sink(item);
        }
    });
}

std::string ShortcutStoreKeyName(const std::string& fullPath) {
    std::string_view trimmed = fullPath;
    const size_t first = trimmed.find_first_not_of(" \\");
    if (first == std::string_view::npos) {
        return {};
    }
    trimmed = trimmed.substr(first, trimmed.find_last_not_of(" \\") - first + 1);
    std::string name = CollapseBackslashes(trimmed);
    std::replace(name.begin(), name.end(), '\\', '^');
    return name;
}

std::string BackupFolder() { return platform::ShellFolderPath(CSIDL_WINDOWS) + "\\pss\\"; }

void WriteSwitchTime(HKEY storeKey) {
    SYSTEMTIME now;
    DWORD parts[6] = {0, 0, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    if (platform::CurrentLocalTime(now)) {
        DWORD read[6] = {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
        std::copy(std::begin(read), std::end(read), parts);
    }
    const char* names[6] = {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"};
    for (int i = 0; i < 6; ++i) {
        platform::reg::SetDword(storeKey, names[i], parts[i]);
    }
}

}  // namespace engine
