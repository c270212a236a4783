// Switching Run and RunOnce values off into startupreg and back.

#include "engine/disabled_store.h"
#include "engine/root_keys.h"
#include "engine/switch_reports.h"
#include "engine/switch_kinds.h"
#include "engine/text.h"
#include "platform/registry.h"

namespace engine {

namespace {

namespace reg = platform::reg;

struct RunKeyName {
    HKEY root = nullptr;
    std::string hkey;  // short root name, as the store keeps it
    std::string key;   // the key path below the root
};

bool ParseRunKey(const std::string& location, RunKeyName& out) {
    const ParsedRoot parsed = ParseRootKey(location);
    if (!parsed.root || parsed.prefixLength > location.size()) {
        return false;
    }
    out.root = parsed.root;
    out.hkey = location.substr(0, parsed.prefixLength - 1);
    if (out.hkey.size() > 4) {
        out.hkey = ShortRootName(out.hkey);
    }
    out.key = CollapseBackslashes(location.substr(parsed.prefixLength));
    return !out.key.empty();
}

// The store names its subkey by the value name alone, so a name that is empty (the key's
// default value) or holds a backslash has no subkey of its own.
bool HasStoreKeyName(const std::string& name) {
    return !name.empty() && name.find('\\') == std::string::npos;
}

// A store key of this name that belongs to another Run key must not be overwritten: it is the
// only record of that entry.
bool StoreKeyBelongsElsewhere(HKEY storeRoot, const std::string& name, const RunKeyName& run) {
    platform::unique_hkey existing;
    if (reg::OpenKey(storeRoot, name, KEY_READ, existing) != ERROR_SUCCESS) {
        return false;
    }
    std::string hkey, key;
    if (reg::QueryString(existing.get(), store::kHkey, hkey) != ERROR_SUCCESS ||
        reg::QueryString(existing.get(), store::kKey, key) != ERROR_SUCCESS) {
        return true;  // unreadable: it can't be shown to be ours
    }
    const ParsedRoot storedRoot = ParseRootKey(hkey);
    return storedRoot.root != run.root || !EqualsNoCase(CollapseBackslashes(key), run.key);
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

}  // namespace

bool DisableRegistryItem(const StartupItem& item, ReportStyle style) {
    RunKeyName run;
    if (!HasStoreKeyName(item.name) || !ParseRunKey(item.location, run)) {
        reports::DisableFailed(item.name, style);
        return false;
    }
    platform::unique_hkey runKey;
    std::string data;
    DWORD type = REG_NONE;
    if (reg::OpenKey(run.root, run.key, KEY_QUERY_VALUE | KEY_SET_VALUE, runKey) != ERROR_SUCCESS ||
        reg::QueryValue(runKey.get(), item.name, data, type) != ERROR_SUCCESS ||
        !IsStringType(type)) {
        // Gone since it was listed, or not text: nothing could be stored faithfully.
        reports::DisableFailed(item.name, style);
        return false;
    }
    platform::unique_hkey storeRoot;
    if (reg::CreateKey(HKEY_LOCAL_MACHINE, kStoreRegistryPath, KEY_READ | KEY_WRITE, storeRoot) !=
            ERROR_SUCCESS ||
        StoreKeyBelongsElsewhere(storeRoot.get(), item.name, run)) {
        reports::DisableFailed(item.name, style);
        return false;
    }
    platform::unique_hkey storeKey;
    bool created = false;
    if (reg::CreateKey(storeRoot.get(), item.name, KEY_WRITE, storeKey, &created) != ERROR_SUCCESS) {
        reports::DisableFailed(item.name, style);
        return false;
    }
    // The store keeps what the value holds now, which may have changed since the listing.
    const std::string command = reg::TextOfData(data);
    const bool written = reg::SetString(storeKey.get(), store::kKey, run.key) == ERROR_SUCCESS &&
                         reg::SetString(storeKey.get(), store::kItem, item.name) == ERROR_SUCCESS &&
                         reg::SetString(storeKey.get(), store::kCommand, command) == ERROR_SUCCESS &&
                         reg::SetString(storeKey.get(), store::kHkey, run.hkey) == ERROR_SUCCESS &&
                         reg::SetString(storeKey.get(), store::kIniMapping, "0") == ERROR_SUCCESS &&
                         reg::SetDword(storeKey.get(), store::kValueType, type) == ERROR_SUCCESS;
    if (written) {
        WriteSwitchTime(storeKey.get());
    }
    // A Run value is never removed without its store entry.
    if (!written || reg::DeleteValue(runKey.get(), item.name) != ERROR_SUCCESS) {
        storeKey.reset();
        if (created) {
            reg::DeleteTree(storeRoot.get(), item.name);
        }
        reports::DisableFailed(item.name, style);
        return false;
    }
    return true;
}

bool EnableRegistryItem(const StartupItem& item, ReportStyle style) {
    if (!HasStoreKeyName(item.name)) {
        return false;  // no store key can carry this name
    }
    platform::unique_hkey storeKey;
    const std::string storePath = std::string(kStoreRegistryPath) + "\\" + item.name;
    LSTATUS status = reg::OpenKey(HKEY_LOCAL_MACHINE, storePath, KEY_ALL_ACCESS, storeKey);
    if (status == ERROR_FILE_NOT_FOUND) {
        return false;
    }
    if (status != ERROR_SUCCESS) {
        reports::EnableFailedWithCode(item.name, status, style);
        return false;
    }
    std::string hkey, key, valueName, command;
    if ((status = reg::QueryString(storeKey.get(), store::kHkey, hkey)) != ERROR_SUCCESS ||
        (status = reg::QueryString(storeKey.get(), store::kKey, key)) != ERROR_SUCCESS ||
        (status = reg::QueryString(storeKey.get(), store::kItem, valueName)) != ERROR_SUCCESS ||
        (status = reg::QueryString(storeKey.get(), store::kCommand, command)) != ERROR_SUCCESS ||
        valueName.empty()) {
        // Never put a value back under an empty or unread name.
        reports::EnableFailedWithCode(item.name, status == ERROR_SUCCESS ? ERROR_INVALID_DATA : status,
                                      style);
        return false;
    }
    const HKEY root = ParseRootKey(hkey).root;
    platform::unique_hkey runKey;
    status = root ? reg::OpenKey(root, CollapseBackslashes(key), KEY_ALL_ACCESS, runKey)
                  : ERROR_INVALID_DATA;
    if (status != ERROR_SUCCESS) {
        if (style.kind == ReportStyle::Kind::Free) {
            reports::EnableFailedWithCode(item.name, status, style);
        }
        return false;
    }
    DWORD type = REG_SZ;
    if (reg::QueryDword(storeKey.get(), store::kValueType, type) != ERROR_SUCCESS ||
        type != REG_EXPAND_SZ) {
        type = REG_SZ;  // entries stored without their type come back as plain strings
    }
    status = reg::SetString(runKey.get(), valueName, command, type);
    if (status != ERROR_SUCCESS) {
        reports::EnableFailedWithCode(item.name, status, style);
        return false;
    }
    ::Sleep(10);
    storeKey.reset();
    platform::unique_hkey storeRoot;
    if (reg::OpenKey(HKEY_LOCAL_MACHINE, kStoreRegistryPath, KEY_ALL_ACCESS, storeRoot) ==
        ERROR_SUCCESS) {
        reg::DeleteTree(storeRoot.get(), item.name);
    }
    return true;
}

}  // namespace engine
