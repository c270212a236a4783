#pragma once
// Task Manager's switch for startup entries (Windows 8 and later): an entry marked off under
// Explorer\StartupApproved stays in its Run key or folder, but Windows does not start it.

#include <windows.h>

#include <optional>
#include <string>
#include <unordered_set>

namespace engine {

inline constexpr char kStartupApprovedPath[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\";

// Where the switch of the entries of one location lives: HKCU\...\Run, HKLM\...\Run, the
// 32-bit programs' HKLM Run (Run32) and the two Startup folders (StartupFolder, values named
// by the shortcut's file name). RunOnce entries have none.
struct ApprovalKey {
    HKEY root;
    const char* subkey;
};
std::optional<ApprovalKey> ApprovalKeyOf(const std::string& location);

// The names marked off in one key, read once for a whole source.
class ApprovalMarks {
public:
    ApprovalMarks() = default;
    explicit ApprovalMarks(const std::optional<ApprovalKey>& key);
    bool IsOff(const std::string& valueName) const;

private:
    std::unordered_set<std::string> off_;  // upper-cased: value names ignore case
};

bool IsMarkedOff(const ApprovalKey& key, const std::string& valueName);
// Writes the switched-on form, as Task Manager does when it switches the entry on.
LSTATUS SwitchApprovalOn(const ApprovalKey& key, const std::string& valueName);

}  // namespace engine
