#include "engine/logon_task_rules.h"

#include "engine/product_name.h"
#include "engine/text.h"

namespace engine {

namespace {

bool StartsTheTask(const TaskTrigger& trigger, const TaskUser& currentUser) {
    switch (trigger.kind) {
    case TaskTrigger::Kind::Boot: return true;
    case TaskTrigger::Kind::Logon:
        return trigger.userId.empty() || NamesUser(trigger.userId, currentUser);
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

bool NamesUser(std::string_view userId, const TaskUser& user) {
    // The domain adds nothing on a single machine; a SID names the account wherever it lives.
    return (!user.sid.empty() && EqualsNoCase(userId, user.sid)) ||
           (!user.name.empty() && EqualsNoCase(TaskLeafName(userId), TaskLeafName(user.name)));
}

std::string_view TaskLeafName(std::string_view path) {
    const size_t slash = path.find_last_of('\\');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::optional<StartupItem> TaskStartupEntry(const TaskFacts& task, const TaskUser& currentUser) {
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
