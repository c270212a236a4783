#pragma once
// Which file a startup command starts: the program of a command line (quoted or not, with
// arguments and environment variables), the library of a "rundll32 x.dll,Entry" command, a
// bare name found on the search path or through App Paths. Window-free: every question to the
// machine goes through ProgramLookups, so this parser of outside input builds anywhere.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace publisher {

class ProgramLookups {
public:
    virtual ~ProgramLookups() = default;
    // The value of an environment variable as the logon's shell expands it, or none.
    virtual std::optional<std::string> Variable(std::string_view name) const = 0;
    // True when the absolute path names an existing file (not a folder).
    virtual bool IsFile(const std::string& path) const = 0;
    // The command App Paths registers for a bare file name ("app.exe"), or empty text.
    virtual std::string AppPath(const std::string& fileName) const = 0;
    // The folders searched before the PATH variable's: the system folder, the Windows folder.
    virtual std::vector<std::string> SystemFolders() const = 0;
};

struct ProgramFile {
    // The full path when the file was found; otherwise the path as the command names it.
    std::string path;
    bool exists = false;
};

// %NAME% replaced by the variable's value; an unknown name and a lone % stay as written.
std::string ExpandVariables(std::string_view text, const ProgramLookups& lookups);

// The file the command starts. An empty path means the command names no file at all.
ProgramFile ProgramOfCommand(std::string_view command, const ProgramLookups& lookups);

}  // namespace publisher
