#pragma once
// The logon task: a task of the Task Scheduler that starts the program with "-t" when the user
// logs on. Where Task Scheduler 2.0 exists it is a root task registered there (run level
// highest, see logon_task_xml.h); before Windows Vista a work item of the version 1 interfaces.
// Failures write a diagnostic line to standard output.

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

// Task Scheduler 2.0 is there (Windows Vista and later).
bool TaskScheduler2Present();

// A root task of that name is registered with Task Scheduler 2.0, or a work item of that name
// can be activated through the version 1 interfaces.
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

// Registers the root task name with Task Scheduler 2.0 for the current user: it starts
// "folder\applicationFileName" (quoted) with parameters in folder at the user's logon. A task
// of that name is replaced, also a version 1 work item kept apart from the version 2 tasks.
bool RegisterLogonTask(const std::string& name, const std::string& applicationFileName,
                       const std::string& comment, const std::string& folder,
                       const std::string& parameters);

// Deletes the task name from both schedulers. True when none is left (a missing one counts as
// deleted).
bool DeleteStartupTask(const std::string& name);

// What the settings page does on save: with startAtLogon the task for this program's folder
// is registered (or, without Task Scheduler 2.0, created, kept or replaced), otherwise
// deleted. True when the scheduler now holds what was asked.
bool ApplyLogonTask(bool startAtLogon);

// A version 1 work item as the scheduler reads it back.
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
