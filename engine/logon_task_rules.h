#pragma once
// Which scheduled tasks start at logon or boot, and the entry such a task is listed as.
// Window-free: the reader hands over what the Task Scheduler said about one task.

#include "engine/startup_item.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// The location of every task entry; it also gives tasks their own kind in a record.
inline constexpr char kTaskSchedulerLabel[] = "Task Scheduler";

bool IsTaskLocation(std::string_view location);

struct TaskTrigger {
    enum class Kind { Logon, Boot, Other };
    Kind kind = Kind::Other;
    bool enabled = true;
    // A logon trigger's user; empty means any user.
    std::string userId;
};

struct TaskAction {
    // An exec action's program and arguments; a COM handler action has only its class id.
    std::string path;
    std::string arguments;
    std::string classId;
};

struct TaskFacts {
    std::string path;  // "\Vendor\Updater"
    bool enabled = true;
    std::vector<TaskTrigger> triggers;
    std::vector<TaskAction> actions;
};

// The user Velbrook runs as, as the caller's token names it.
struct TaskUser {
    std::string name;  // "name" or "DOMAIN\name"
    std::string sid;   // "S-1-5-21-..."
};

// A trigger's or principal's user id names this user: Windows stores it as "DOMAIN\name", as
// the bare name or as the SID string.
bool NamesUser(std::string_view userId, const TaskUser& user);

// The entry for a task with a logon trigger for any user or for the current user, or a boot
// trigger; nothing for other tasks and for Velbrook's own root task. Enabled when the task and
// one of those triggers are.
std::optional<StartupItem> TaskStartupEntry(const TaskFacts& task, const TaskUser& currentUser);

// The task's last path element, the name a catalogue knows a program by.
std::string_view TaskLeafName(std::string_view path);

}  // namespace engine
