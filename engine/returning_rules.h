#pragma once
// When an active entry is the same program as a switched-off record of the store: the entry
// has put itself back. Window-free: the caller hands over the texts, with a Startup-folder
// label already turned into its folder.

#include <string>
#include <string_view>

namespace engine {

// A command as compared: double quotes removed, blanks trimmed at both ends, every run of
// backslashes one, ASCII letters in lower case (other bytes as they are).
std::string ComparableCommand(std::string_view command);

// Whether two commands start the same program. The rule: after ComparableCommand they are
// equal, or both split at their backslashes into the same number of parts, and every part
// that differs is a folder (a backslash follows it, so the file name and the arguments after
// the last backslash never differ) whose both forms are version-like: each holds a dotted
// number ("1.0", "23.038.0219.0001") and they are the same once every run of digits counts
// as one digit. An updater that moves its program into a new version folder
// ("app-1.0.9013", "MSTeams_23285.3604.2469.4152_x64__8wekyb3d8bbwe") still matches;
// "Steam2" and "Steam3" (no dotted number) or another file name do not.
bool SameProgramCommand(std::string_view active, std::string_view stored);

// Whether two locations name the same Run key or folder: case of ASCII letters, runs of
// backslashes, trailing backslashes and the long root names ("HKEY_CURRENT_USER") don't count.
bool SameSourceLocation(std::string_view a, std::string_view b);

}  // namespace engine
