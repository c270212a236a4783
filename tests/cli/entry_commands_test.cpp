// velbrookc list, disable and enable, run as a user would run them.

#include "engine/disabled_store.h"
#include "tests/support/machine_state.h"
#include "tests/support/run_process.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace testing_support;

const std::string kHkcuRun = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kHklmRun = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// Console output is text mode: line ends come as CR LF.
std::string Lines(std::string text) {
    std::string out;
    for (char c : text) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

class EntryCommands : public ::testing::Test {
protected:
    void SetUp() override { ResetStartupSources(); }
};

TEST_F(EntryCommands, ListPrintsRawTextsAsJsonAndCsv) {
    // "Café": the test's code page, as the product's, is UTF-8; redirected tables and CSV are in
    // the legacy code page (1252), where é is one byte, 0xE9.
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Caf\xC3\xA9", "  \"C:\\Tools\\caf\xC3\xA9.exe\" -q ");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Comma,Tool", "x.exe");
    auto json = RunVelbrookc("list --json");
    EXPECT_EQ(json.exitCode, 0u) << json.err;
    // JSON is UTF-8: é becomes C3 A9.
    EXPECT_EQ(
        Lines(json.out),
        "[\n {\"name\": \"Caf\xC3\xA9\", \"command\": \"  \\\"C:\\\\Tools\\\\caf\xC3\xA9.exe\\\" "
        "-q \", "
        "\"location\": \"HKCU\\\\Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run\", "
        "\"enabled\": true, \"returned\": false, \"switch\": null, \"file\": "
        "\"C:\\\\Tools\\\\caf\xC3\xA9.exe\", "
        "\"publisher\": \"\", \"description\": \"\", \"signature\": \"not found\", \"signer\": "
        "\"\"},\n {\"name\": \"Comma,Tool\", \"command\": "
        "\"x.exe\", "
        "\"location\": \"HKLM\\\\Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Run\", "
        "\"enabled\": true, \"returned\": false, \"switch\": null, \"file\": \"x.exe\", "
        "\"publisher\": \"\", "
        "\"description\": \"\", \"signature\": \"not found\", \"signer\": \"\"}\n]\n");

    auto csv = RunVelbrookc("list --csv --filter active");
    EXPECT_EQ(csv.exitCode, 0u) << csv.err;
    EXPECT_EQ(Lines(csv.out),
              "name,command,location,enabled,file,publisher,description,signature,signer\n"
              "Caf\xE9,\"  \"\"C:\\Tools\\caf\xE9.exe\"\" -q \"," +
                  kHkcuRun +
                  ",true,C:\\Tools\\caf\xE9.exe,,,not found,\n"
                  "\"Comma,Tool\",x.exe," +
                  kHklmRun + ",true,x.exe,,,not found,\n");

    auto none = RunVelbrookc("list --json --filter disabled");
    EXPECT_EQ(Lines(none.out), "[]\n");

    auto table = RunVelbrookc("list");
    EXPECT_EQ(table.exitCode, 0u);
    // Columns are aligned; the command is shown trimmed of blanks and quotes, as the pages do.
    const std::string out = Lines(table.out);
    EXPECT_EQ(out.substr(0, out.find('\n')).find("Name        Status   Location"), 0u) << out;
    EXPECT_NE(out.find("\nCaf\xE9        Enabled  " + kHkcuRun + "  C:\\Tools\\caf\xE9.exe\" -q\n"),
              std::string::npos)
        << out;
}

TEST_F(EntryCommands, DisableAndEnableActOnTheOneEntryOfThatName) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Twin", "user.exe");
    SetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Twin", "machine.exe");
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "Caf\xC3\xA9", "c.exe");

    auto ambiguous = RunVelbrookc("disable Twin");
    EXPECT_EQ(ambiguous.exitCode, 2u);
    EXPECT_NE(ambiguous.err.find(kHkcuRun), std::string::npos) << ambiguous.err;
    EXPECT_NE(ambiguous.err.find(kHklmRun), std::string::npos) << ambiguous.err;
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Twin"), "user.exe");

    auto chosen = RunVelbrookc("disable Twin --location \"" + kHklmRun + "\"");
    EXPECT_EQ(chosen.exitCode, 0u) << chosen.err;
    EXPECT_EQ(GetRunValue(HKEY_LOCAL_MACHINE, kRunKey, "Twin"), "<missing>");
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Twin"), "user.exe");

    // The other Twin's store key is taken: the engine refuses and says why.
    auto refused = RunVelbrookc("disable Twin");
    EXPECT_EQ(refused.exitCode, 1u);
    EXPECT_EQ(Lines(refused.err), "Failed to disable Twin\n");

    EXPECT_EQ(RunVelbrookc("disable Caf\xC3\xA9").exitCode, 0u);
    // No active entry of that name now.
    EXPECT_EQ(RunVelbrookc("disable Caf\xC3\xA9").exitCode, 2u);
    EXPECT_EQ(RunVelbrookc("disable caf\xC3\xA9").exitCode, 2u);  // names are exact
    auto enabled = RunVelbrookc("enable Caf\xC3\xA9");
    EXPECT_EQ(enabled.exitCode, 0u) << enabled.err;
    EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, "Caf\xC3\xA9"), "c.exe");
}

TEST_F(EntryCommands, JsonOfACatalogueNameAboveAsciiParsesAsUtf8) {
    // "µTorrent", which the catalogue spells in Windows-1252 (µ is the byte B5).
    SetRunValue(HKEY_CURRENT_USER, kRunKey, "\xC2\xB5Torrent", "\"C:\\\xC2\xB5Torrent\\ut.exe\"");
    for (const char* command : {"list --json", "scan --json"}) {
        const auto run = RunVelbrookc(command);
        ASSERT_EQ(run.exitCode, 0u) << command << ": " << run.err;
        nlohmann::json parsed;
        ASSERT_NO_THROW(parsed = nlohmann::json::parse(run.out)) << command << ": " << run.out;
        ASSERT_EQ(parsed.size(), 1u) << command;
        EXPECT_EQ(parsed[0]["name"], "\xC2\xB5Torrent") << command;
        EXPECT_EQ(parsed[0]["command"], "\"C:\\\xC2\xB5Torrent\\ut.exe\"") << command;
    }
}

TEST_F(EntryCommands, VersionPrintsTheProductAndTheFileVersion) {
    const auto run = RunVelbrookc("--version");
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(Lines(run.out), "Velbrook console " VELBROOK_FILE_VERSION "\n");
}

// The names a user met in a 1252 prefix, written in UTF-16 as a Unicode .reg file writes them:
// every one listed intact, switched off and on by the name typed, each value back byte for byte.
TEST_F(EntryCommands, NamesOutsideTheAnsiCodePageAreListedAndSwitched) {
    const std::string names[] = {"Caf\xC3\xA9 Sync", "Tool \xE2\x9C\x93",
                                 "\xD0\xAF\xD0\xBD\xD0\xB4\xD0\xB5\xD0\xBA\xD1\x81."
                                 "\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA",
                                 "\xE5\xBE\xAE\xE4\xBF\xA1"};
    for (const auto& name : names) {
        SetRunValue(HKEY_CURRENT_USER, kRunKey, name, "C:\\" + name + "\\run.exe");
    }
    const auto list = RunVelbrookc("list --json");
    ASSERT_EQ(list.exitCode, 0u) << list.err;
    const auto parsed = nlohmann::json::parse(list.out);
    ASSERT_EQ(parsed.size(), std::size(names));
    std::set<std::string> listed;
    for (const auto& entry : parsed) {
        listed.insert(entry["name"].get<std::string>());
        EXPECT_EQ(entry["command"], "C:\\" + entry["name"].get<std::string>() + "\\run.exe");
    }
    EXPECT_EQ(listed, std::set<std::string>(std::begin(names), std::end(names)));

    for (const auto& name : names) {
        const auto off = RunVelbrookc("disable \"" + name + "\"");
        EXPECT_EQ(off.exitCode, 0u) << name << ": " << off.err;
        EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, name), "<missing>") << name;
        const auto on = RunVelbrookc("enable \"" + name + "\"");
        EXPECT_EQ(on.exitCode, 0u) << name << ": " << on.err;
        EXPECT_EQ(GetRunValue(HKEY_CURRENT_USER, kRunKey, name), "C:\\" + name + "\\run.exe");
    }

    // Redirected text is in the legacy code page, which lacks three of them; --utf8 gives all.
    const auto csv = RunVelbrookc("list --csv");
    EXPECT_NE(csv.out.find("Caf\xE9 Sync,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find("Tool ?,"), std::string::npos) << csv.out;
    const auto utf8 = RunVelbrookc("list --csv --utf8");
    for (const auto& name : names) {
        EXPECT_NE(utf8.out.find(name + ","), std::string::npos) << name;
    }
}

TEST_F(EntryCommands, UsageErrorsExitWithTwo) {
    EXPECT_EQ(RunVelbrookc("").exitCode, 2u);
    EXPECT_EQ(RunVelbrookc("frobnicate").exitCode, 2u);
    EXPECT_EQ(RunVelbrookc("list --filter sometimes").exitCode, 2u);
    EXPECT_EQ(RunVelbrookc("list --json --csv").exitCode, 2u);
    EXPECT_EQ(RunVelbrookc("disable").exitCode, 2u);
    EXPECT_EQ(RunVelbrookc("--help").exitCode, 0u);
}

}  // namespace
