#pragma once
// Registering and deleting a task of the Task Scheduler 2.0 root folder: the thin layer under
// Velbrook's own logon task.

#include <windows.h>

#include <string>

namespace engine {

// Registers the root task `name` from its XML definition, replacing a task of that name. The
// task runs with the token of its principal's user while that user is logged on, so no
// password is given.
HRESULT RegisterRootTask(const std::string& name, const std::string& xml);

// Deletes the root task `name`; a task that isn't there counts as deleted (S_OK).
HRESULT DeleteRootTask(const std::string& name);

}  // namespace engine
