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

// The entry for a task with a logon trigger for any user or for currentUser ("name" or
// "DOMAIN\name"), or a boot trigger; nothing for other tasks and for Velbrook's own root task.
// Enabled when the task and one of those triggers are.
std::optional<StartupItem> TaskStartupEntry(const TaskFacts& task, std::string_view currentUser);

// The task's last path element, the name a catalogue knows a program by.
std::string_view TaskLeafName(std::string_view path);

}  // namespace engine
