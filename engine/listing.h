#pragma once
// The full listing: every source in the fixed order.

#include "engine/startup_item.h"

namespace engine {

// HKCU Run, HKCU RunOnce, HKLM Run, HKLM RunOnce, on 64-bit Windows the 32-bit programs'
// HKLM Run and RunOnce, the user's Startup folder, the common Startup folder, the logon tasks,
// then the entries of the store (shortcuts before registry values). Returns whether the task
// source was read; when the service was out of reach its entries are missing, not gone.
// TaskRead::Snapshot (for the window thread) takes the tasks from the last read instead of
// waiting for the service (engine/logon_task_snapshot.h).
enum class TaskRead { Service, Snapshot };
bool EnumerateAllSources(TaskRead tasks, const EntrySink& sink);
bool EnumerateAllSources(const EntrySink& sink);

enum class EntryFilter { All, Active, Disabled };

// The entries in listing order after the receiver rules, as the pages show them.
StartupItemArray ListStartupItems(EntryFilter filter = EntryFilter::All,
                                  TaskRead tasks = TaskRead::Service);

}  // namespace engine
