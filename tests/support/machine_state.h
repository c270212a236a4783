#pragma once
// Test helpers that put the prefix's startup sources into a known state. Each test that uses
// them starts from empty Run keys, an empty store and empty Startup and pss folders.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/message_box.h"

namespace testing_support {

inline constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr char kRunOnceKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

inline constexpr char kApprovedKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved";

// Removes every Run/RunOnce value of both roots (HKLM in both registry views), both store keys
// in both views, Task Manager's StartupApproved keys and every file in the two Startup folders
// and the pss folder.
void ResetStartupSources();

// view: KEY_WOW64_64KEY (the default: the machine's own view, which a view-less open means in a
// 64-bit process only) or KEY_WOW64_32KEY (Wow6432Node on 64-bit Windows).
void SetRunValue(HKEY root, const char* key, const std::string& name, const std::string& data,
                 DWORD type = REG_SZ, REGSAM view = KEY_WOW64_64KEY);
// The value's data, or a sentinel "<missing>" when it is not there.
std::string GetRunValue(HKEY root, const char* key, const std::string& name, DWORD* type = nullptr,
                        REGSAM view = KEY_WOW64_64KEY);

// Task Manager's value for an entry under StartupApproved\<subkey> (Run, Run32, StartupFolder),
// in the 64-bit view; GetApproval gives "<missing>" when there is none.
void SetApproval(HKEY root, const char* subkey, const std::string& name, const std::string& bytes,
                 DWORD type = REG_BINARY);
std::string GetApproval(HKEY root, const char* subkey, const std::string& name);

std::string UserStartupFolder();
std::string CommonStartupFolder();
std::string PssFolder();

// Writes a real shell link with IShellLinkA; returns its full path.
std::string CreateShortcut(const std::string& folder, const std::string& fileName,
                           const std::string& target, const std::string& arguments);
void WriteFile(const std::string& path, const std::string& content);
bool FileExists(const std::string& path);

// Every value of a store subkey as "name=type:data" lines, sorted, for whole-layout checks.
std::vector<std::string> StoreKeyValues(const std::string& storeSubkeyPath,
                                        REGSAM view = KEY_WOW64_64KEY);
bool KeyExists(HKEY root, const std::string& path, REGSAM view = KEY_WOW64_64KEY);

// Records every message box shown while it lives and answers each with IDOK.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    const std::vector<platform::MessageBoxRequest>& shown() const { return shown_; }

private:
    std::vector<platform::MessageBoxRequest> shown_;
    platform::MessageBoxHandler previous_;
};

}  // namespace testing_support
