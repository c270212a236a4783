// Entries whose names and commands hold Cyrillic, CJK, Greek, an emoji (a surrogate pair) and a
// combining accent, in every source: listed unchanged, switched off and on byte for byte,
// recorded by a manual fix and an automatic run, restored from the history, kept in the
// ignore list and announced by the monitor. The prefix's legacy code page is 1252, which
// holds none of them; the values are written with the wide registry functions, as a Unicode
// .reg file or an installer writes them.

#include "cleanup/automatic_run.h"
#include "cleanup/ignore_list.h"
#include "engine/disabled_store.h"
#include "engine/known_items.h"
#include "engine/listing.h"
#include "history/fix_files.h"
#include "history/manual_save.h"
#include "history/restore.h"
#include "platform/app_messages.h"
#include "platform/text_codec.h"
#include "shell/monitor.h"
#include "shell/new_startup_alert.h"
#include "tests/support/data_folder.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

using namespace testing_support;
using platform::text::Wide;
using platform::text::WideOfUtf8;

const std::wstring kRunW = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kRunOnceW = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// UTF-8 spellings (the test program's code page, as the product's, is UTF-8).
const std::string kNames[] = {
    "\xD0\xAF\xD0\xBD\xD0\xB4\xD0\xB5\xD0\xBA\xD1\x81."
    "\xD0\x94\xD0\xB8\xD1\x81\xD0\xBA",                          // Яндекс.Диск
    "\xE5\xBE\xAE\xE4\xBF\xA1",                                  // 微信
    "\xCE\xA3\xCF\x8D\xCE\xBD\xCE\xB4\xCE\xB5\xCF\x83\xCE\xB7",  // Σύνδεση
    "Tool \xF0\x9F\x98\x80",                                     // an emoji
    "Cafe\xCC\x81 Sync",                                         // e + U+0301
};
// C:\Users\Дмитрий\... with the name in the path and a Greek argument.
std::string CommandOf(const std::string& name) {
    return "\"C:\\Users\\\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9\\" + name +
           "\\app.exe\" /\xCE\xB1";
}

struct RunSource {
    HKEY root;
    const std::wstring* key;
    REGSAM view;
    std::string location;  // as the listing shows it
};

const RunSource kRunSources[] = {
    {HKEY_CURRENT_USER, &kRunW, KEY_WOW64_64KEY,
     "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {HKEY_LOCAL_MACHINE, &kRunW, KEY_WOW64_64KEY,
     "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {HKEY_LOCAL_MACHINE, &kRunW, KEY_WOW64_32KEY,
     "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {HKEY_CURRENT_USER, &kRunOnceW, KEY_WOW64_64KEY,
     "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
};

// A value's type and bytes as the wide functions give them.
std::string RawValue(const RunSource& source, const std::string& name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(source.root, source.key->c_str(), 0, KEY_READ | source.view, &key) !=
        ERROR_SUCCESS) {
        return "<no key>";
    }
    DWORD type = 0, size = 0;
    const std::wstring wideName = WideOfUtf8(name);
    std::string bytes;
    if (::RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) ==
        ERROR_SUCCESS) {
        bytes.resize(size);
        ::RegQueryValueExW(key, wideName.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(bytes.data()), &size);
        bytes = std::to_string(type) + ":" + bytes;
    } else {
        bytes = "<missing>";
    }
    ::RegCloseKey(key);
    return bytes;
}

void SetValueW(const RunSource& source, const std::string& name, const std::string& command,
               DWORD type) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(source.root, source.key->c_str(), 0, nullptr, 0,
                                KEY_SET_VALUE | source.view, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::wstring data = WideOfUtf8(command);
    ASSERT_EQ(::RegSetValueExW(key, WideOfUtf8(name).c_str(), 0, type,
                               reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
}

// The store keeps one record per registry name, so each Run source gets its own spellings.
std::string NameIn(size_t source, const std::string& name) {
    return source == 0 ? name : name + " " + std::to_string(source);
}

// One entry as the engine should list it, and its state before any switch.
struct Seeded {
    engine::StartupItem item;
    std::string before;  // raw value, or the shortcut file's bytes
    std::string path;    // the shortcut's file, empty for a registry value
};

// The notify window of a monitor pass: the alert text of each announced entry.
LRESULT CALLBACK RecordAlertText(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == platform::MSG_MONITOR_NEW_ENTRY) {
        auto* list =
            reinterpret_cast<std::vector<std::string>*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
        list->push_back(
            shell::AlertText(reinterpret_cast<const engine::StartupItem*>(wParam)->name));
        return 1;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

class UnicodeNames : public ::testing::Test {
protected:
    void SetUp() override {
        ResetStartupSources();
        ResetDataFolder();
        cleanup::LoadIgnoreList();
        engine::KnownStartupItems().WithItems([](auto& items) { items.Clear(); });
    }

    // Every name in every Run source (REG_EXPAND_SZ in RunOnce, so the type is checked too)
    // and as a shortcut in both Startup folders.
    std::vector<Seeded> SeedEverywhere() {
        std::vector<Seeded> seeded;
        for (size_t at = 0; at < std::size(kRunSources); ++at) {
            const RunSource& source = kRunSources[at];
            for (const std::string& plain : kNames) {
                const std::string name = NameIn(at, plain);
                const DWORD type = source.key == &kRunOnceW ? REG_EXPAND_SZ : REG_SZ;
                SetValueW(source, name, CommandOf(name), type);
                seeded.push_back(
                    {{name, CommandOf(name), source.location, true}, RawValue(source, name), ""});
            }
        }
        const std::pair<std::string, std::string> folders[] = {
            {UserStartupFolder(), "Startup"}, {CommonStartupFolder(), "Common Startup"}};
        for (const auto& [folder, location] : folders) {
            for (const std::string& name : kNames) {
                const std::string target = "C:\\windows\\" + name + ".exe";
                WriteFile(target, "x");
                const std::string path = CreateShortcut(folder, name + ".lnk", target, "/\xCE\xB1");
                seeded.push_back(
                    {{name, target + " /\xCE\xB1", location, true}, ReadFileBytes(path), path});
            }
        }
        return seeded;
    }

    // Each seeded entry is where it started, with the same bytes.
    void ExpectAllBack(const std::vector<Seeded>& seeded) {
        size_t i = 0;
        for (size_t at = 0; at < std::size(kRunSources); ++at) {
            for (const std::string& name : kNames) {
                EXPECT_EQ(RawValue(kRunSources[at], NameIn(at, name)), seeded[i++].before)
                    << kRunSources[at].location << name;
            }
        }
        for (; i < seeded.size(); ++i) {
            EXPECT_EQ(ReadFileBytes(seeded[i].path), seeded[i].before) << seeded[i].path;
        }
        EXPECT_TRUE(engine::ListStartupItems().size() == seeded.size());
    }

    // A stored shortcut is listed with its folder's path: the folder's name, as listed when on.
    static std::string Source(const std::string& location) {
        if (location == UserStartupFolder() + "\\") {
            return "Startup";
        }
        return location == CommonStartupFolder() + "\\" ? "Common Startup" : location;
    }

    static std::multiset<std::string> Triples(const engine::StartupItemArray& items, bool enabled) {
        std::multiset<std::string> triples;
        items.ForEach([&](const engine::StartupItem& item) {
            if (item.enabled == enabled) {
                triples.insert(item.name + "|" + item.command + "|" + Source(item.location));
            }
        });
        return triples;
    }
    static std::multiset<std::string> Triples(const std::vector<Seeded>& seeded) {
        std::multiset<std::string> triples;
        for (const auto& s : seeded) {
            triples.insert(s.item.name + "|" + s.item.command + "|" + s.item.location);
        }
        return triples;
    }

    MessageBoxRecorder boxes;
};

TEST_F(UnicodeNames, AreListedSwitchedRecordedAndRestoredByteForByte) {
    const auto seeded = SeedEverywhere();
    auto listed = engine::ListStartupItems();
    EXPECT_EQ(Triples(listed, true), Triples(seeded));

    // A manual fix switches every one off and records it.
    std::vector<history::ManualChange> changes;
    for (size_t i = 0; i < listed.size(); ++i) {
        changes.push_back({&listed[i], false});
    }
    const auto outcome = history::SaveManualChanges(changes, engine::ReportStyle::Free());
    EXPECT_EQ(outcome.switchedOff, static_cast<int>(seeded.size()));
    EXPECT_TRUE(outcome.recorded);
    EXPECT_TRUE(boxes.shown().empty());
    const auto off = engine::ListStartupItems();
    EXPECT_EQ(Triples(off, false), Triples(seeded));
    EXPECT_TRUE(Triples(off, true).empty());

    // The store holds the names as Unicode REG_SZ, the pss folder the Unicode file names.
    HKEY store = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Wide(engine::kStoreRegistryPath).c_str(), 0,
                              KEY_READ | KEY_WOW64_64KEY, &store),
              ERROR_SUCCESS);
    for (const std::string& name : kNames) {
        wchar_t item[512] = {};
        DWORD size = sizeof item, type = 0;
        EXPECT_EQ(::RegGetValueW(store, WideOfUtf8(name).c_str(), L"item", RRF_RT_ANY, &type, item,
                                 &size),
                  ERROR_SUCCESS)
            << name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(std::wstring(item), WideOfUtf8(name));
    }
    ::RegCloseKey(store);
    for (const std::string& name : kNames) {
        EXPECT_TRUE(FileExists(PssFolder() + name + ".lnk.Startup")) << name;
        EXPECT_TRUE(FileExists(PssFolder() + name + ".lnk.CommonStartup")) << name;
    }

    // The history restores them all, byte for byte.
    const auto fixes = history::ListedFixes();
    ASSERT_EQ(fixes.size(), 1u);
    std::vector<engine::StartupItem> recorded;
    ASSERT_EQ(history::ReadFixFile(fixes[0].fixFilePath, recorded), history::ReadOutcome::Read);
    engine::StartupItemArray recordedArray;
    for (const auto& item : recorded) {
        recordedArray.Append(item);
    }
    EXPECT_EQ(Triples(recordedArray, false), Triples(seeded));
    const auto restored = history::RestoreFixEntries(fixes[0].fixFilePath, recorded,
                                                     std::vector<bool>(recorded.size(), true));
    EXPECT_EQ(restored.restored, static_cast<int>(seeded.size()));
    EXPECT_EQ(restored.failed, 0);
    ExpectAllBack(seeded);

    // An automatic run records them as well, and its fix restores them again.
    auto again = engine::ListStartupItems();
    const auto run = cleanup::RunAutomaticFix(again, {});
    EXPECT_EQ(run.fixed, static_cast<int>(seeded.size()));
    EXPECT_TRUE(run.recorded);
    recorded.clear();
    ASSERT_EQ(history::ReadFixFile(run.fixFilePath, recorded), history::ReadOutcome::Read);
    EXPECT_EQ(recorded.size(), seeded.size());
    history::RestoreFixEntries(run.fixFilePath, recorded, std::vector<bool>(recorded.size(), true));
    ExpectAllBack(seeded);
    EXPECT_TRUE(boxes.shown().empty());
}

TEST_F(UnicodeNames, AreKeptInTheIgnoreListAndAnnouncedByTheMonitor) {
    for (const std::string& name : kNames) {
        engine::StartupItem item{name, CommandOf(name), kRunSources[0].location, true};
        EXPECT_EQ(cleanup::AddToIgnoreList(item), cleanup::IgnoreResult::Done) << name;
    }
    cleanup::LoadIgnoreList();  // read back from the file
    for (const std::string& name : kNames) {
        EXPECT_TRUE(cleanup::IsIgnored(name)) << name;
    }
    // Case-insensitive as Windows compares names: Cyrillic and Greek upper case.
    EXPECT_TRUE(
        cleanup::IsIgnored("\xD1\x8F\xD0\xBD\xD0\xB4\xD0\xB5\xD0\xBA\xD1\x81.\xD0\xB4"
                           "\xD0\xB8\xD1\x81\xD0\xBA"));
    EXPECT_TRUE(cleanup::IsIgnored("\xCF\x83\xCF\x8D\xCE\xBD\xCE\xB4\xCE\xB5\xCF\x83\xCE\xB7"));
    const auto records = cleanup::ReadIgnoreRecords();
    ASSERT_EQ(records.size(), std::size(kNames));
    EXPECT_EQ(records[1].command, CommandOf(kNames[1]));
    EXPECT_EQ(cleanup::RemoveFromIgnoreList({kNames[0], kNames[3]}), cleanup::IgnoreResult::Done);
    cleanup::LoadIgnoreList();
    EXPECT_FALSE(cleanup::IsIgnored(kNames[0]));
    EXPECT_FALSE(cleanup::IsIgnored(kNames[3]));
    EXPECT_TRUE(cleanup::IsIgnored(kNames[4]));

    // The monitor: after the baseline each new name is announced once, as it is spelled.
    shell::MonitorContext context;
    shell::MonitorPass(context);
    std::vector<std::string> announced;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &RecordAlertText;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "UnicodeMonitorNotify";
    ::RegisterClassA(&wc);
    HWND window = ::CreateWindowA(wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
    ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&announced));
    context.notifyWindow = window;
    for (const std::string& name : kNames) {
        SetValueW(kRunSources[0], name, CommandOf(name), REG_SZ);
    }
    shell::MonitorPass(context);
    ::DestroyWindow(window);
    std::vector<std::string> expected;
    for (const std::string& name : kNames) {
        expected.push_back("One New Program \"" + name +
                           "\" Added in Tray list of Windows Startup.");
    }
    std::sort(announced.begin(), announced.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(announced, expected);
}

TEST_F(UnicodeNames, AnEntryWhoseRecordWouldNotHoldItIsLeftOnAndTheUserIsTold) {
    // 90 CJK characters: 270 bytes of UTF-8 and the marker, more than the name field's 260.
    std::string name;
    for (int i = 0; i < 90; ++i) {
        name += "\xE5\xBE\xAE";
    }
    SetValueW(kRunSources[0], name, "c.exe", REG_SZ);
    auto listed = engine::ListStartupItems();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, name);
    const auto outcome =
        history::SaveManualChanges({{&listed[0], false}}, engine::ReportStyle::Free());
    EXPECT_EQ(outcome.switchedOff, 0);
    EXPECT_FALSE(outcome.recorded);
    EXPECT_TRUE(listed[0].enabled);
    EXPECT_EQ(RawValue(kRunSources[0], name).substr(0, 2), "1:");
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_NE(boxes.shown()[0].text.find("too long to be recorded"), std::string::npos);
    EXPECT_TRUE(history::ListedFixes().empty());

    const auto run = cleanup::RunAutomaticFix(listed, {});
    EXPECT_EQ(run.fixed, 0);
    EXPECT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(engine::ListStartupItems()[0].enabled, true);
}

}  // namespace
