#include "engine/disabled_store.h"

#include "engine/root_keys.h"
#include "engine/text.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/shell_folders.h"

#include <shlobj.h>

#include <algorithm>

namespace engine {

namespace {

namespace reg = platform::reg;
using reg::QueryString;

template <typename ReadEntry>
void ForEachStoreSubkey(reg::View view, const char* storePath, ReadEntry&& readEntry) {
    platform::unique_hkey store;
    if (reg::OpenKeyIn(view, HKEY_LOCAL_MACHINE, storePath, KEY_READ, store) != ERROR_SUCCESS) {
        return;
    }
    std::string subkeyName;
    for (DWORD index = 0; reg::EnumSubkey(store.get(), index, subkeyName) == ERROR_SUCCESS;
         ++index) {
        platform::unique_hkey subkey;
        if (reg::OpenKeyIn(view, store.get(), subkeyName, KEY_QUERY_VALUE, subkey) ==
            ERROR_SUCCESS) {
            readEntry(subkey.get());
        }
    }
}

constexpr char kSoftwarePrefix[] = "Software\\";
constexpr char kWowNode[] = "Wow6432Node\\";

}  // namespace

std::vector<reg::View> StoreViews() {
    if (platform::IsWindows64Bit()) {
        return {reg::View::Native, reg::View::Wow32};
    }
    return {reg::View::Native};
}

std::string StoredRunLocation(reg::View view, const std::string& hkey, const std::string& key) {
    const std::string path = CollapseBackslashes(key);
    const size_t rest = sizeof kSoftwarePrefix - 1;
    if (view == reg::View::Wow32 && platform::IsWindows64Bit() &&
        ParseRootKey(hkey).root == HKEY_LOCAL_MACHINE && StartsWithNoCase(path, kSoftwarePrefix) &&
        !StartsWithNoCase(std::string_view(path).substr(rest), kWowNode)) {
        return hkey + "\\" + path.substr(0, rest) + kWowNode + path.substr(rest);
    }
    return hkey + "\\" + key;
}

void ReadDisabledEntries(const EntrySink& sink) {
    for (const reg::View view : StoreViews()) {
        ForEachStoreSubkey(view, kStoreFolderPath, [&](HKEY subkey) {
            StartupItem item;
            item.enabled = false;
            if (QueryString(subkey, store::kLocation, item.location) == ERROR_SUCCESS &&
                QueryString(subkey, store::kItem, item.name) == ERROR_SUCCESS &&
                QueryString(subkey, store::kCommand, item.command) == ERROR_SUCCESS) {
                sink(item);
            }
        });
    }
    for (const reg::View view : StoreViews()) {
        ForEachStoreSubkey(view, kStoreRegistryPath, [&](HKEY subkey) {
            StartupItem item;
            item.enabled = false;
            std::string hkey, key;
            if (QueryString(subkey, store::kHkey, hkey) == ERROR_SUCCESS && !hkey.empty() &&
                QueryString(subkey, store::kKey, key) == ERROR_SUCCESS &&
                QueryString(subkey, store::kItem, item.name) == ERROR_SUCCESS &&
                QueryString(subkey, store::kCommand, item.command) == ERROR_SUCCESS) {
                item.location = StoredRunLocation(view, hkey, key);
                sink(item);
            }
        });
    }
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
