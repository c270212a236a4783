#pragma once
// The machine's answers to the command parser: environment variables, files, App Paths and
// the system folders, as the 64-bit shell that starts the entries sees them. In a 32-bit
// process on 64-bit Windows the file system would show the 32-bit programs' System32 and the
// environment their Program Files; both are turned back to the native ones here.

#include "publisher/program_of_command.h"

namespace publisher {

class MachineLookups : public ProgramLookups {
public:
    std::optional<std::string> Variable(std::string_view name) const override;
    bool IsFile(const std::string& path) const override;
    std::string AppPath(const std::string& fileName) const override;
    std::vector<std::string> SystemFolders() const override;
};

// The path under which this process reaches the file the path names for the native system:
// "<Windows>\System32\..." becomes "<Windows>\Sysnative\..." in a 32-bit process on 64-bit
// Windows; any other path stays.
std::string NativePath(const std::string& path);

}  // namespace publisher
