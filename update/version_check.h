#pragma once
// Asks the maker's version-check endpoint whether a newer version of the program exists.

#include <optional>
#include <string>

namespace update {

// The latest version that the endpoint names, or nothing when there is no usable answer
// (no connection, no server, a status other than 200, a time-out, an answer of another form).
std::optional<std::string> QueryLatestVersion();

// True when the endpoint names a version newer than the running program's. With skip equal
// to 1 it returns false at once and sends no request.
bool CheckForUpdate(int skip);

// The skip argument of the check at start-up: 0 when started by the logon task ("-t"), else
// the setting "strtupdates" (default 0), whose value 1 turns the check at start-up off.
int StartupCheckSkip(bool startedAtLogon);

}  // namespace update
