// The parser of startup commands, on a table of files the machine is said to hold.
#include "publisher/program_of_command.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

class TableLookups : public publisher::ProgramLookups {
public:
    std::optional<std::string> Variable(std::string_view name) const override {
        const auto found = variables.find(std::string(name));
        return found == variables.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    bool IsFile(const std::string& path) const override { return files.count(path) > 0; }
    std::string AppPath(const std::string& fileName) const override {
        const auto found = appPaths.find(fileName);
        return found == appPaths.end() ? std::string() : found->second;
    }
    std::vector<std::string> SystemFolders() const override {
        return {"C:\\windows\\system32", "C:\\windows"};
    }

    std::map<std::string, std::string> variables = {
        {"ProgramFiles", "C:\\Program Files"},
        {"PATH", "relative\\bin;\"D:\\Tools\";C:\\bin\\"},
        {"AppData", "C:\\users\\u\\AppData"},
        {"SystemDrive", "C:"}};
    std::set<std::string> files = {"C:\\Program Files\\My App\\app.exe",
                                   "C:\\Program Files\\Test.exe",
                                   "C:\\windows\\system32\\rundll32.exe",
                                   "C:\\windows\\system32\\shell32.dll",
                                   "C:\\windows\\notepad.exe",
                                   "D:\\Tools\\tool.exe",
                                   "C:\\bin\\plain.exe",
                                   "C:\\Apps\\Viewer\\viewer.exe",
                                   "C:\\Program Files\\Lib Dir\\lib.dll",
                                   "relative\\bin\\rel.exe"};
    std::map<std::string, std::string> appPaths = {
        {"viewer.exe", "\"%SystemDrive%\\Apps\\Viewer\\viewer.exe\""},
        {"ghost.exe", "C:\\Apps\\ghost.exe"},
        {"relative.exe", "Apps\\viewer.exe"}};
};

TEST(ProgramOfCommandTest, FindsTheFileACommandStarts) {
    const TableLookups lookups;
    struct Case {
        const char* command;
        const char* path;
        bool exists;
    };
    const Case cases[] = {
        // Quoted, with blanks and arguments; an unclosed quote runs to the end.
        {"\"C:\\Program Files\\My App\\app.exe\" /background", "C:\\Program Files\\My App\\app.exe",
         true},
        {"  \"C:\\Program Files\\My App\\app.exe", "C:\\Program Files\\My App\\app.exe", true},
        {"\"C:\\Program Files\\My App\\app\" -x", "C:\\Program Files\\My App\\app.exe", true},
        // Unquoted with blanks: the shortest part up to a blank that is a file wins.
        {"C:\\Program Files\\My App\\app.exe -min /x", "C:\\Program Files\\My App\\app.exe", true},
        {"C:\\Program Files\\My App\\app -min", "C:\\Program Files\\My App\\app.exe", true},
        // As on Windows: a file named by a shorter part is the one that starts.
        {"C:\\Program Files\\Test App\\x.exe", "C:\\Program Files\\Test.exe", true},
        {"%ProgramFiles%\\My App\\app.exe /s", "C:\\Program Files\\My App\\app.exe", true},
        {"\"%ProgramFiles%\\My App\\app.exe\"", "C:\\Program Files\\My App\\app.exe", true},
        // Missing files: the part that ends like a program, else the first word.
        {"C:\\Program Files\\Gone App\\gone.exe -tray", "C:\\Program Files\\Gone App\\gone.exe",
         false},
        {"C:\\nowhere\\missing -tray", "C:\\nowhere\\missing", false},
        {"\"C:\\nowhere\\missing.exe\" /x", "C:\\nowhere\\missing.exe", false},
        {"%Undefined%\\x.exe", "%Undefined%\\x.exe", false},
        // Bare names: the system folders, then PATH (absolute folders only), then App Paths.
        {"notepad /p", "C:\\windows\\notepad.exe", true},
        {"tool.exe -x", "D:\\Tools\\tool.exe", true},
        {"plain", "C:\\bin\\plain.exe", true},
        {"rel", "rel", false},
        {"viewer", "C:\\Apps\\Viewer\\viewer.exe", true},
        {"ghost.exe", "ghost.exe", false},
        {"relative", "relative", false},
        {"relative\\bin\\rel.exe", "relative\\bin\\rel.exe", false},
        // rundll32 starts its library.
        {"rundll32.exe shell32.dll,Control_RunDLL", "C:\\windows\\system32\\shell32.dll", true},
        {"rundll32 shell32,Control_RunDLL x", "C:\\windows\\system32\\shell32.dll", true},
        {"C:\\windows\\system32\\RUNDLL32.EXE \"C:\\Program Files\\Lib Dir\\lib.dll\",Go",
         "C:\\Program Files\\Lib Dir\\lib.dll", true},
        {"rundll32 C:\\Program Files\\Lib Dir\\lib.dll,Go", "C:\\Program Files\\Lib Dir\\lib.dll",
         true},
        {"rundll32 C:\\nowhere\\x.dll,Go", "C:\\nowhere\\x.dll", false},
        {"rundll32.exe", "C:\\windows\\system32\\rundll32.exe", true},
        // No file at all.
        {"", "", false},
        {"   ", "", false},
        {"\"\" /x", "", false},
    };
    for (const Case& c : cases) {
        const publisher::ProgramFile file = publisher::ProgramOfCommand(c.command, lookups);
        EXPECT_EQ(file.path, c.path) << c.command;
        EXPECT_EQ(file.exists, c.exists) << c.command;
    }
}

TEST(ProgramOfCommandTest, ExpandsKnownVariablesOnly) {
    const TableLookups lookups;
    EXPECT_EQ(publisher::ExpandVariables("%ProgramFiles%\\a %x% 100% %% %AppData%", lookups),
              "C:\\Program Files\\a %x% 100% %% C:\\users\\u\\AppData");
}

}  // namespace
