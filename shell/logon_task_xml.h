#pragma once
// The logon task's definition for Task Scheduler 2.0, as the XML the scheduler registers.
// Window-free.

#include <string>

namespace shell {

struct LogonTaskDefinition {
    std::string application;       // the program's full path in double quotes
    std::string workingDirectory;  // the program folder
    std::string parameters;
    std::string description;
    std::string userId;  // the user whose logon starts the task and whose token it runs with
};

// A logon trigger for that user; run only while the user is logged on, with the user's own
// token at its highest run level (Velbrook's manifest asks for administrator rights, and a
// task at the limited level could not start it under UAC); no time limit, no battery
// conditions, normal priority.
std::string LogonTaskXml(const LogonTaskDefinition& task);

}  // namespace shell
