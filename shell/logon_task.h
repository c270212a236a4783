#pragma once
// The logon task: a work item of the Task Scheduler (version 1 interfaces) that starts the
// program with "-t" when the user logs on. Texts go to the scheduler as UTF-16 converted with
// the thread's code page; failures write a diagnostic line to standard output.

#include <windows.h>
#include <mstask.h>

#include <optional>
#include <string>
#include <vector>

namespace shell {

inline constexpr char kLogonTaskProgram[] = "Velbrook.exe";
inline constexpr char kLogonTaskParameters[] = "-t";

// "Velbrook startups".
std::string LogonTaskName();
// "Runs Velbrook at Scheduled Time."
std::string LogonTaskComment();

// A work item of that name can be activated.
bool TaskExists(const std::string& name);

enum class TaskChange {
    Created,    // the work item and its trigger are saved
    Unchanged,  // a work item of that name already starts this application
    Failed,
};

// Creates the work item name that starts "folder\applicationFileName" (quoted) with
// parameters in folder, only while the user is logged on, under the current user's account,
// with one trigger of triggerType at hour:minute from today. A work item of that name that
// starts the same application is left as it is; one that starts another (the program has
// moved) is replaced.
TaskChange CreateStartupTask(const std::string& name, const std::string& applicationFileName,
                             const std::string& comment, const std::string& folder, WORD hour,
                             WORD minute, WORD typeWord, TASK_TRIGGER_TYPE triggerType,
                             const std::string& parameters);

// Deletes the work item name. True when none is left (a missing one counts as deleted).
bool DeleteStartupTask(const std::string& name);

// What the settings page does on save: with startAtLogon the task for this program's folder
// is created (or kept, or replaced), otherwise deleted. True when the scheduler now holds
// what was asked.
bool ApplyLogonTask(bool startAtLogon);

// A work item as the scheduler reads it back.
struct TaskDetails {
    std::string application;
    std::string workingDirectory;
    std::string parameters;
    std::string comment;
    DWORD flags = 0;
    std::vector<TASK_TRIGGER> triggers;
};
std::optional<TaskDetails> ReadTask(const std::string& name);

}  // namespace shell
