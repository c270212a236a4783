#pragma once
// The seventh source: scheduled tasks that start at logon or boot, read through the Task
// Scheduler 2.0 service, every folder recursively.

#include "engine/startup_item.h"

#include <vector>

namespace engine {

// The longest the listing waits for the service.
inline constexpr unsigned long kTaskServiceTimeoutMs = 5000;

// The task entries (see TaskStartupEntry) in folder order: a folder's tasks before its
// sub-folders. The service is read on a worker; when it can't be reached or doesn't answer in
// time the source gives nothing, a debug trace says why, and the result is false.
bool ReadLogonTasks(std::vector<StartupItem>& items);

// The same read on the calling thread, however long the service takes: for a worker whose
// caller does not wait for it. A service that hangs holds that one thread and starts no other.
bool ReadLogonTasksUnbounded(std::vector<StartupItem>& items);

// Reads the service as ReadLogonTasks does, keeps the answer as the snapshot
// (engine/logon_task_snapshot.h) and feeds its entries.
bool EnumerateLogonTasks(const EntrySink& sink);

}  // namespace engine
