#include "engine/listing.h"

#include "engine/disabled_store.h"
#include "engine/logon_task_snapshot.h"
#include "engine/logon_tasks.h"
#include "engine/returning.h"
#include "engine/run_values.h"
#include "engine/startup_folders.h"

namespace engine {

bool EnumerateAllSources(TaskRead tasks, const EntrySink& sink) {
    for (const RunSource& source : RunSources()) {
        EnumerateRunSource(source, sink);
    }
    EnumerateStartupFolder(HKEY_CURRENT_USER, kUserStartupLabel, sink);
    EnumerateStartupFolder(HKEY_LOCAL_MACHINE, kCommonStartupLabel, sink);
    const bool tasksRead =
        tasks == TaskRead::Snapshot ? EnumerateLogonTaskSnapshot(sink) : EnumerateLogonTasks(sink);
    ReadDisabledEntries(sink);
    return tasksRead;
}

bool EnumerateAllSources(const EntrySink& sink) {
    return EnumerateAllSources(TaskRead::Service, sink);
}

StartupItemArray ListStartupItems(EntryFilter filter, TaskRead tasks) {
    StartupItemArray items;
    EnumerateAllSources(tasks, [&](const StartupItem& item) {
        if (PassesReceiverRules(item)) {
            items.Append(item);
        }
    });
    // A program that put itself back is listed once, as the active entry marked so.
    MarkReturningEntries(items);
    if (filter == EntryFilter::All) {
        return items;
    }
    StartupItemArray wanted;
    for (size_t index = 0; index < items.size(); ++index) {
        if (items[index].enabled == (filter == EntryFilter::Active)) {
            wanted.Append(std::move(items[index]));
        }
    }
    return wanted;
}

}  // namespace engine
