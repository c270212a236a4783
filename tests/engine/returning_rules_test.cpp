// When an active entry's command is the switched-off record's: real update paths of programs
// that write their startup entry again, and look-alikes that must not count.

#include "engine/returning_rules.h"

#include <gtest/gtest.h>

namespace {

TEST(ReturningRules, CommandsMatchAfterNormalisingAndAcrossVersionFolders) {
    struct Case {
        const char* what;
        const char* active;
        const char* stored;
        bool same;
    };
    const Case cases[] = {
        {"Spotify, same command",
         "C:\\Users\\Ann\\AppData\\Roaming\\Spotify\\Spotify.exe --autostart",
         "C:\\Users\\Ann\\AppData\\Roaming\\Spotify\\Spotify.exe --autostart", true},
        {"Spotify, Store version folder",
         "\"C:\\Program "
         "Files\\WindowsApps\\SpotifyAB.SpotifyMusic_1.226.1101.0_x86__zpdnekdrzrea0\\Spotify."
         "exe\" --autostart",
         "\"C:\\Program "
         "Files\\WindowsApps\\SpotifyAB.SpotifyMusic_1.200.1165.0_x86__zpdnekdrzrea0\\Spotify."
         "exe\" --autostart",
         true},
        {"Discord, new app folder",
         "C:\\Users\\Ann\\AppData\\Local\\Discord\\app-1.0.9013\\Discord.exe",
         "C:\\Users\\Ann\\AppData\\Local\\Discord\\app-1.0.9003\\Discord.exe", true},
        {"Discord, updater with quotes and case",
         "\"C:\\Users\\Ann\\AppData\\Local\\Discord\\Update.exe\" --processStart Discord.exe",
         "c:\\users\\ann\\appdata\\local\\discord\\update.exe --processStart \"Discord.exe\"",
         true},
        {"Steam, quotes and blanks", "\"C:\\Program Files (x86)\\Steam\\steam.exe\" -silent",
         "  C:\\Program Files (x86)\\Steam\\steam.exe -silent ", true},
        {"Teams, new package folder",
         "C:\\Program "
         "Files\\WindowsApps\\MSTeams_23285.3604.2469.4152_x64__8wekyb3d8bbwe\\ms-teams.exe",
         "C:\\Program "
         "Files\\WindowsApps\\MSTeams_23247.1112.2409.1502_x64__8wekyb3d8bbwe\\ms-teams.exe",
         true},
        {"Zoom, doubled backslash",
         "\"C:\\Users\\Ann\\AppData\\Roaming\\Zoom\\bin\\Zoom.exe\" --autostart",
         "C:\\Users\\Ann\\AppData\\Roaming\\Zoom\\\\bin\\Zoom.exe --autostart", true},
        {"OneDrive, version folder",
         "C:\\Users\\Ann\\AppData\\Local\\Microsoft\\OneDrive\\24.010.0114.0003\\OneDrive.exe "
         "/background",
         "C:\\Users\\Ann\\AppData\\Local\\Microsoft\\OneDrive\\23.038.0219.0001\\OneDrive.exe "
         "/background",
         true},
        {"another file in the same folder", "C:\\Apps\\Discord\\app-1.0.9013\\DiscordPTB.exe",
         "C:\\Apps\\Discord\\app-1.0.9013\\Discord.exe", false},
        {"another file name of the same shape", "C:\\Apps\\Tool\\setup2.exe",
         "C:\\Apps\\Tool\\setup1.exe", false},
        {"a numbered folder is no version", "C:\\Games\\Steam3\\steam.exe",
         "C:\\Games\\Steam2\\steam.exe", false},
        {"a version of another shape", "C:\\Apps\\Tool\\1.2.3\\tool.exe",
         "C:\\Apps\\Tool\\1.2\\tool.exe", false},
        {"another program folder", "C:\\Program Files\\Spotify\\Spotify.exe",
         "C:\\Users\\Ann\\AppData\\Roaming\\Spotify\\Spotify.exe", false},
        {"other arguments", "C:\\Apps\\Zoom.exe --autostart", "C:\\Apps\\Zoom.exe --minimized",
         false},
        {"other numbers in the arguments", "C:\\Apps\\srv.exe --port 1.2",
         "C:\\Apps\\srv.exe --port 1.3", false},
        {"no path at all", "agent 1.2", "agent 1.3", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(engine::SameProgramCommand(c.active, c.stored), c.same) << c.what;
        EXPECT_EQ(engine::SameProgramCommand(c.stored, c.active), c.same) << c.what << " (swapped)";
    }
}

TEST(ReturningRules, SourcesMatchByKeyOrFolderWhateverTheirSpelling) {
    struct Case {
        const char* a;
        const char* b;
        bool same;
    };
    const Case cases[] = {
        {"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
         "hkcu\\software\\microsoft\\windows\\currentversion\\run", true},
        {"HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
         "HKLM\\Software\\Microsoft\\Windows\\\\CurrentVersion\\Run", true},
        {"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
         "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
         "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run", false},
        {"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run",
         "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", false},
        {"C:\\Users\\Ann\\Start Menu\\Programs\\Startup",
         "c:\\users\\ann\\start menu\\programs\\startup\\", true},
        {"C:\\Users\\Ann\\Start Menu\\Programs\\Startup",
         "C:\\ProgramData\\Start Menu\\Programs\\Startup\\", false},
        {"HKEY_CURRENT_USERS\\x", "HKCUS\\x", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(engine::SameSourceLocation(c.a, c.b), c.same) << c.a << " / " << c.b;
    }
}

}  // namespace
