// Switching Run and RunOnce values off into startupreg and back.

#include "engine/disabled_store.h"
#include "engine/root_keys.h"
#include "engine/startup_approval.h"
#include "engine/switch_reports.h"
#include "engine/switch_kinds.h"
#include "engine/text.h"
#include "platform/registry_view.h"

#include <optional>

namespace engine {

namespace {

namespace reg = platform::reg;
using reg::View;

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
    if (reg::OpenKeyIn(View::Native, storeRoot, name, KEY_QUERY_VALUE, existing) != ERROR_SUCCESS) {
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
    if (reg::OpenKeyIn(View::Native, run.root, run.key, KEY_QUERY_VALUE | KEY_SET_VALUE, runKey) !=
            ERROR_SUCCESS ||
        reg::QueryValue(runKey.get(), item.name, data, type) != ERROR_SUCCESS ||
        !IsStringType(type)) {
        // Gone since it was listed, or not text: nothing could be stored faithfully.
        reports::DisableFailed(item.name, style);
        return false;
    }
    platform::unique_hkey storeRoot;
    // The store of the 64-bit view: the system configuration tool reads no other.
    if (reg::CreateKeyIn(View::Native, HKEY_LOCAL_MACHINE, kStoreRegistryPath, KEY_READ | KEY_WRITE,
                         storeRoot) != ERROR_SUCCESS ||
        StoreKeyBelongsElsewhere(storeRoot.get(), item.name, run)) {
        reports::DisableFailed(item.name, style);
        return false;
    }
    platform::unique_hkey storeKey;
    bool created = false;
    if (reg::CreateKeyIn(View::Native, storeRoot.get(), item.name, KEY_WRITE, storeKey, &created) !=
        ERROR_SUCCESS) {
        reports::DisableFailed(item.name, style);
        return false;
    }
    // The store keeps what the value holds now, which may have changed since the listing.
    const std::string command = reg::TextOfData(data);
    const bool written =
        reg::SetString(storeKey.get(), store::kKey, run.key) == ERROR_SUCCESS &&
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
            reg::DeleteTreeIn(View::Native, storeRoot.get(), item.name);
        }
        reports::DisableFailed(item.name, style);
        return false;
    }
    return true;
}

namespace {

// One startupreg record that may put the entry back.
struct StoreRecord {
    View view = View::Native;
    std::string subkey;  // its name below startupreg
    std::string hkey, key, valueName, command;
    DWORD type = REG_SZ;
    RunKeyName run;  // the key the value goes back into, as opened in the 64-bit view
};

enum class Lookup { Found, Missing, Failed };

// Reads the record of one subkey of the store of one view.
Lookup ReadStoreRecord(View view, const std::string& subkey, StoreRecord& out, LSTATUS& status) {
    platform::unique_hkey storeKey;
    status =
        reg::OpenKeyIn(view, HKEY_LOCAL_MACHINE, std::string(kStoreRegistryPath) + "\\" + subkey,
                       KEY_QUERY_VALUE, storeKey);
    if (status == ERROR_FILE_NOT_FOUND) {
        return Lookup::Missing;
    }
    if (status != ERROR_SUCCESS) {
        return Lookup::Failed;
    }
    out.view = view;
    out.subkey = subkey;
    if ((status = reg::QueryString(storeKey.get(), store::kHkey, out.hkey)) != ERROR_SUCCESS ||
        (status = reg::QueryString(storeKey.get(), store::kKey, out.key)) != ERROR_SUCCESS ||
        (status = reg::QueryString(storeKey.get(), store::kItem, out.valueName)) != ERROR_SUCCESS ||
        (status = reg::QueryString(storeKey.get(), store::kCommand, out.command)) !=
            ERROR_SUCCESS ||
        out.valueName.empty()) {
        // Never put a value back under an empty or unread name.
        if (status == ERROR_SUCCESS) {
            status = ERROR_INVALID_DATA;
        }
        return Lookup::Failed;
    }
    if (reg::QueryDword(storeKey.get(), store::kValueType, out.type) != ERROR_SUCCESS ||
        out.type != REG_EXPAND_SZ) {
        out.type = REG_SZ;  // entries stored without their type come back as plain strings
    }
    // A record of the 32-bit copy that names HKLM\Software goes back into the 32-bit
    // programs' key, reached by its real path so that its text is written unchanged.
    const std::string location = StoredRunLocation(view, out.hkey, out.key);
    if (!ParseRunKey(location, out.run)) {
        status = ERROR_INVALID_DATA;
        return Lookup::Failed;
    }
    return Lookup::Found;
}

bool SameRunKey(const RunKeyName& a, const RunKeyName& b) {
    return a.root == b.root && EqualsNoCase(a.key, b.key);
}

// Task Manager's switch: the value stands in its key, marked off.
bool SwitchOnApproval(const StartupItem& item) {
    const auto approval = ApprovalKeyOf(item.location);
    RunKeyName run;
    platform::unique_hkey runKey;
    std::string data;
    DWORD type = REG_NONE;
    return approval && IsMarkedOff(*approval, item.name) && ParseRunKey(item.location, run) &&
           reg::OpenKeyIn(View::Native, run.root, run.key, KEY_QUERY_VALUE, runKey) ==
               ERROR_SUCCESS &&
           reg::QueryValue(runKey.get(), item.name, data, type) == ERROR_SUCCESS &&
           SwitchApprovalOn(*approval, item.name) == ERROR_SUCCESS;
}

}  // namespace

bool EnableRegistryItem(const StartupItem& item, ReportStyle style) {
    if (item.disabledBy == StartupItem::DisabledBy::StartupApproved && SwitchOnApproval(item)) {
        return true;
    }
    // The record of the entry's own key, in either view; else, as records of older versions
    // may name the key differently, the first record of that name.
    RunKeyName wanted;
    const bool located = ParseRunKey(item.location, wanted);
    std::optional<StoreRecord> chosen, fallback;
    // Whether the record puts back this very entry; the first of its key ends the search.
    const auto consider = [&](StoreRecord&& record) {
        if (!EqualsNoCase(record.valueName, item.name)) {
            return false;  // another entry's record under this subkey name
        }
        if (!located || SameRunKey(record.run, wanted)) {
            chosen = std::move(record);
            return true;
        }
        if (!fallback) {
            fallback = std::move(record);
        }
        return false;
    };
    if (HasStoreKeyName(item.name)) {
        for (const View view : StoreViews()) {
            StoreRecord record;
            LSTATUS status = ERROR_SUCCESS;
            const Lookup lookup = ReadStoreRecord(view, item.name, record, status);
            if (lookup == Lookup::Failed) {
                reports::EnableFailedWithCode(item.name, status, style);
                return false;
            }
            if (lookup == Lookup::Found && consider(std::move(record))) {
                break;
            }
        }
    }
    if (!chosen && !fallback) {
        // Another tool may have named the subkey otherwise than the value (the listing shows
        // the item value): the record whose values name the entry.
        for (const View view : StoreViews()) {
            platform::unique_hkey store;
            if (reg::OpenKeyIn(view, HKEY_LOCAL_MACHINE, kStoreRegistryPath, KEY_READ, store) !=
                ERROR_SUCCESS) {
                continue;
            }
            std::string subkey;
            bool found = false;
            for (DWORD index = 0;
                 !found && reg::EnumSubkey(store.get(), index, subkey) == ERROR_SUCCESS; ++index) {
                StoreRecord record;
                LSTATUS status = ERROR_SUCCESS;
                found = ReadStoreRecord(view, subkey, record, status) == Lookup::Found &&
                        record.command == item.command && consider(std::move(record));
            }
            if (found) {
                break;
            }
        }
    }
    if (!chosen) {
        chosen = std::move(fallback);
    }
    if (!chosen) {
        // Nothing stored under that name: it may be Task Manager's switch that holds it.
        return SwitchOnApproval(item);
    }
    const StoreRecord& record = *chosen;
    platform::unique_hkey runKey;
    LSTATUS status = reg::OpenKeyIn(View::Native, record.run.root, record.run.key,
                                    KEY_QUERY_VALUE | KEY_SET_VALUE, runKey);
    if (status != ERROR_SUCCESS) {
        if (style.kind == ReportStyle::Kind::Free) {
            reports::EnableFailedWithCode(item.name, status, style);
        }
        return false;
    }
    // The entry put itself back meanwhile: writing the stored command would overwrite the
    // active one (after an update, with an older one) and leave nothing in the store.
    std::string present;
    DWORD presentType = REG_NONE;
    if (reg::QueryValue(runKey.get(), record.valueName, present, presentType) == ERROR_SUCCESS) {
        reports::AlreadyBack(item.name, style);
        return false;
    }
    status = reg::SetString(runKey.get(), record.valueName, record.command, record.type);
    if (status != ERROR_SUCCESS) {
        reports::EnableFailedWithCode(item.name, status, style);
        return false;
    }
    ::Sleep(10);
    status = reg::DeleteTreeIn(record.view, HKEY_LOCAL_MACHINE,
                               std::string(kStoreRegistryPath) + "\\" + record.subkey);
    if (status != ERROR_SUCCESS) {
        // Active and stored at once would list it twice: it stays switched off.
        reg::DeleteValue(runKey.get(), record.valueName);
        reports::EnableFailedWithCode(item.name, status, style);
        return false;
    }
    // A mark Task Manager left on it would keep Windows from starting it.
    const auto approval = ApprovalKeyOf(record.hkey + "\\" + record.run.key);
    if (approval && IsMarkedOff(*approval, record.valueName)) {
        SwitchApprovalOn(*approval, record.valueName);
    }
    return true;
}

}  // namespace engine
