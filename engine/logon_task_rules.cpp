#include "engine/logon_task_rules.h"

#include "engine/product_name.h"
#include "engine/text.h"

namespace engine {

namespace {

bool ForThisUser(const TaskTrigger& trigger, std::string_view currentUser) {
    if (trigger.userId.empty()) {
        return true;
    }
    // Windows stores the user as "DOMAIN\name" or as the bare name; the domain adds nothing
    // on a single machine.
    return EqualsNoCase(TaskLeafName(trigger.userId), TaskLeafName(currentUser));
}

bool StartsTheTask(const TaskTrigger& trigger, std::string_view currentUser) {
    switch (trigger.kind) {
    case TaskTrigger::Kind::Boot: return true;
    case TaskTrigger::Kind::Logon: return ForThisUser(trigger, currentUser);
    default: return false;
    }
}

std::string ActionCommand(const TaskAction& action) {
    if (action.path.empty()) {
        return action.classId;
    }
    return action.arguments.empty() ? action.path : action.path + " " + action.arguments;
}

}  // namespace

bool IsTaskLocation(std::string_view location) {
    return EqualsNoCase(location, kTaskSchedulerLabel);
}

std::string_view TaskLeafName(std::string_view path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::optional<StartupItem> TaskStartupEntry(const TaskFacts& task, std::string_view currentUser) {
    // Our own logon task starts Velbrook, which lists itself nowhere.
    if (EqualsNoCase(task.path, std::string("\\") + LogonTaskName)) {
        return std::nullopt;
    }
    bool starts = false;
    bool triggerEnabled = false;
    for (const TaskTrigger& trigger : task.triggers) {
        if (StartsTheTask(trigger, currentUser)) {
            starts = true;
            triggerEnabled = triggerEnabled || trigger.enabled;
        }
    }
    if (!starts) {
        return std::nullopt;
    }
    StartupItem item;
    item.name = task.path;
    item.location = kTaskSchedulerLabel;
    item.enabled = task.enabled && triggerEnabled;
    for (const TaskAction& action : task.actions) {
        const std::string command = ActionCommand(action);
        if (!command.empty()) {
            item.command += item.command.empty() ? command : "; " + command;
        }
    }
    return item;
}

}  // namespace engine
