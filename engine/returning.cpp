#include "engine/returning.h"

#include "engine/logon_task_rules.h"
#include "engine/returning_rules.h"
#include "engine/startup_folders.h"
#include "engine/text.h"

#include <optional>
#include <unordered_map>
#include <vector>

namespace engine {

namespace {

// Names that Windows takes for one, in any script, share a bucket key.
std::string BucketKey(const std::string& name) { return UpperAnsi(name); }

bool IsStoreRecord(const StartupItem& item) {
    return !item.enabled && item.disabledBy == StartupItem::DisabledBy::Store &&
           !IsTaskLocation(item.location);
}

// What a store record's location is compared with: a Run key as it is, a Startup label as the
// folder it names (the store keeps the folder).
class SourceOfActive {
public:
    std::string operator()(const StartupItem& item) {
        if (item.IsRegistryEntry()) {
            return item.location;
        }
        const bool user = EqualsNoCase(item.location, kUserStartupLabel);
        if (!user && !EqualsNoCase(item.location, kCommonStartupLabel)) {
            return item.location;
        }
        std::optional<std::string>& folder = user ? user_ : common_;
        if (!folder) {
            folder = GetShellFolderPath(user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                                        user ? kUserStartupLabel : kCommonStartupLabel);
        }
        return *folder;
    }

private:
    std::optional<std::string> user_, common_;
};

bool CameBackAs(const StartupItem& active, const std::string& activeSource,
                const StartupItem& stored) {
    return !activeSource.empty() && EqualsNoCase(active.name, stored.name) &&
           SameSourceLocation(activeSource, stored.location) &&
           SameProgramCommand(active.command, stored.command);
}

}  // namespace

void MarkReturningEntries(StartupItemArray& items) {
    std::unordered_map<std::string, std::vector<size_t>> stored;
    for (size_t index = 0; index < items.size(); ++index) {
        if (IsStoreRecord(items[index])) {
            stored[BucketKey(items[index].name)].push_back(index);
        }
    }
    if (stored.empty()) {
        return;
    }
    SourceOfActive sourceOf;
    std::vector<bool> replaced(items.size(), false);
    bool any = false;
    for (size_t index = 0; index < items.size(); ++index) {
        StartupItem& active = items[index];
        if (!active.enabled || IsTaskLocation(active.location)) {
            continue;
        }
        const auto bucket = stored.find(BucketKey(active.name));
        if (bucket == stored.end()) {
            continue;
        }
        const std::string source = sourceOf(active);
        for (const size_t candidate : bucket->second) {
            if (!replaced[candidate] && CameBackAs(active, source, items[candidate])) {
                active.returned = true;
                replaced[candidate] = true;
                any = true;
                break;
            }
        }
    }
    for (size_t index = items.size(); any && index-- > 0;) {
        if (replaced[index]) {
            items.RemoveAt(index);
        }
    }
}

std::vector<StartupItem> ReturnedEntries(const StartupItemArray& items) {
    std::vector<StartupItem> returned;
    items.ForEach([&](const StartupItem& item) {
        if (item.returned) {
            returned.push_back(item);
        }
    });
    return returned;
}

}  // namespace engine
