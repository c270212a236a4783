#include "engine/listing.h"

#include "engine/disabled_store.h"
#include "engine/run_values.h"
#include "engine/startup_folders.h"

namespace engine {

void EnumerateAllSources(const EntrySink& sink) {
    EnumerateRunValues(HKEY_CURRENT_USER, "HKCU\\", "Run", sink);
    EnumerateRunValues(HKEY_CURRENT_USER, "HKCU\\", "RunOnce", sink);
    EnumerateRunValues(HKEY_LOCAL_MACHINE, "HKLM\\", "Run", sink);
    EnumerateRunValues(HKEY_LOCAL_MACHINE, "HKLM\\", "RunOnce", sink);
    EnumerateStartupFolder(HKEY_CURRENT_USER, kUserStartupLabel, sink);
    EnumerateStartupFolder(HKEY_LOCAL_MACHINE, kCommonStartupLabel, sink);
    ReadDisabledEntries(sink);
}

StartupItemArray ListStartupItems(EntryFilter filter) {
    StartupItemArray items;
    EnumerateAllSources([&](const StartupItem& item) {
        const bool wanted = filter == EntryFilter::All ||
                            item.enabled == (filter == EntryFilter::Active);
        if (wanted && PassesReceiverRules(item)) {
            items.Append(item);
        }
    });
    return items;
}

}  // namespace engine
