// 10,000 random switches in one process over 40 entries with ASCII, code-page and Unicode
// names, the same names in several sources (HKCU and HKLM, both registry views, RunOnce, both
// Startup folders). Every 100 switches the entries, the store and the pss folder must still
// hold exactly the seeded entries. The seed is printed; VELBROOK_RANDOM_SEED replays one.

#include "engine/disabled_store.h"
#include "engine/listing.h"
#include "engine/switching.h"
#include "platform/file_search.h"
#include "platform/registry.h"
#include "platform/registry_view.h"
#include "tests/support/machine_state.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <set>

namespace {

using namespace testing_support;
namespace reg = platform::reg;

constexpr int kSwitches = 10000;
constexpr int kCheckEvery = 100;

const std::string kNames[] = {
    "Alpha",
    "Beta Tool",
    "Caf\xC3\xA9",                                               // in 1252
    "\xC2\xB5Torrent",                                           // in 1252
    "Zune\xC2\xAE",                                              // in 1252
    "\xD0\xAF\xD0\xBD\xD0\xB4\xD0\xB5\xD0\xBA\xD1\x81",          // Cyrillic
    "\xE5\xBE\xAE\xE4\xBF\xA1",                                  // CJK
    "\xCE\xA3\xCF\x8D\xCE\xBD\xCE\xB4\xCE\xB5\xCF\x83\xCE\xB7",  // Greek
    "Tool \xF0\x9F\x98\x80",                                     // an emoji
    "Cafe\xCC\x81",                                              // a combining accent
};

struct Source {
    HKEY root;  // nullptr: a Startup folder
    const char* key;
    REGSAM view;
    std::string location;
};

std::vector<Source> Sources() {
    const std::string run = std::string(kRunKey), once = std::string(kRunOnceKey);
    return {
        {HKEY_CURRENT_USER, kRunKey, KEY_WOW64_64KEY, "HKCU\\" + run},
        {HKEY_LOCAL_MACHINE, kRunKey, KEY_WOW64_64KEY, "HKLM\\" + run},
        {HKEY_LOCAL_MACHINE, kRunKey, KEY_WOW64_32KEY,
         "HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"},
        {HKEY_CURRENT_USER, kRunOnceKey, KEY_WOW64_64KEY, "HKCU\\" + once},
        {HKEY_LOCAL_MACHINE, kRunOnceKey, KEY_WOW64_64KEY, "HKLM\\" + once},
        {nullptr, nullptr, 0, "Startup"},
        {nullptr, nullptr, 0, "Common Startup"},
    };
}

unsigned Seed() {
    if (const char* given = std::getenv("VELBROOK_RANDOM_SEED")) {
        return static_cast<unsigned>(std::strtoul(given, nullptr, 10));
    }
    return std::random_device{}();
}

// The listing's location of a stored shortcut is its folder's path.
std::string SourceOf(const std::string& location) {
    if (location == UserStartupFolder() + "\\") {
        return "Startup";
    }
    return location == CommonStartupFolder() + "\\" ? "Common Startup" : location;
}

std::string Key(const std::string& name, const std::string& source, const std::string& command) {
    return name + "|" + source + "|" + command;
}

size_t CountSubkeys(const char* path) {
    platform::unique_hkey key;
    if (reg::OpenKeyIn(reg::View::Native, HKEY_LOCAL_MACHINE, path, KEY_READ, key) !=
        ERROR_SUCCESS) {
        return 0;
    }
    size_t count = 0;
    std::string name;
    while (reg::EnumSubkey(key.get(), static_cast<DWORD>(count), name) == ERROR_SUCCESS) {
        ++count;
    }
    return count;
}

size_t CountFiles(const std::string& folder) {
    size_t count = 0;
    platform::FileSearch search(folder + "*");
    while (search.Next()) {
        count += search.IsDirectory() ? 0 : 1;
    }
    return count;
}

TEST(RandomSwitches, TheSeededEntriesAreNeitherLostNorDoubledNorMixedUp) {
    ResetStartupSources();
    MessageBoxRecorder boxes;  // refusals of a name whose store record is taken are answered
    const unsigned seed = Seed();
    std::cout << "VELBROOK_RANDOM_SEED=" << seed << std::endl;
    ::testing::Test::RecordProperty("seed", std::to_string(seed));
    std::mt19937 random(seed);

    // Each name in four neighbouring sources: 40 entries, every name in several of them.
    const auto sources = Sources();
    std::vector<engine::StartupItem> entries;
    std::set<std::string> seeded;
    for (size_t n = 0; n < std::size(kNames); ++n) {
        for (size_t k = 0; k < 4; ++k) {
            const Source& source = sources[(n + k) % sources.size()];
            const std::string& name = kNames[n];
            std::string command;
            if (source.root) {
                command = "\"C:\\" + name + "\\run.exe\" /s" + std::to_string(n + k);
                SetRunValue(source.root, source.key, name, command, REG_SZ, source.view);
            } else {
                const std::string target = "C:\\windows\\" + name + std::to_string(n + k) + ".exe";
                WriteFile(target, "x");
                const std::string folder =
                    source.location == "Startup" ? UserStartupFolder() : CommonStartupFolder();
                CreateShortcut(folder, name + ".lnk", target, "/s");
                command = target + " /s";
            }
            entries.push_back({name, command, source.location, true});
            seeded.insert(Key(name, source.location, command));
        }
    }
    ASSERT_EQ(entries.size(), 40u);

    int switchesOff = 0, switchesOn = 0;
    for (int step = 1; step <= kSwitches; ++step) {
        engine::StartupItem& entry = entries[random() % entries.size()];
        if (entry.enabled) {
            if (engine::DisableStartupItem(entry, engine::ReportStyle::Free())) {
                entry.enabled = false;
                ++switchesOff;
            }
        } else if (engine::EnableStartupItem(entry, engine::ReportStyle::Free())) {
            entry.enabled = true;
            ++switchesOn;
        }
        if (step % kCheckEvery != 0) {
            continue;
        }
        // The listing holds every seeded entry once, active or switched off, and nothing else.
        std::multiset<std::string> active, stored;
        size_t storedRegistry = 0, storedShortcuts = 0;
        engine::ListStartupItems().ForEach([&](const engine::StartupItem& item) {
            const std::string key = Key(item.name, SourceOf(item.location), item.command);
            (item.enabled ? active : stored).insert(key);
            if (!item.enabled) {
                ++(item.location.rfind("HK", 0) == 0 ? storedRegistry : storedShortcuts);
            }
        });
        std::set<std::string> all;
        for (const auto& key : active) {
            EXPECT_TRUE(all.insert(key).second) << "twice active: " << key;
            EXPECT_EQ(stored.count(key), 0u) << "active and stored: " << key;
        }
        for (const auto& key : stored) {
            EXPECT_TRUE(all.insert(key).second) << "twice stored: " << key;
        }
        ASSERT_EQ(all, seeded) << "after " << step << " switches; seed " << seed;
        // Every store record and backup belongs to exactly one switched-off entry.
        EXPECT_EQ(CountSubkeys(engine::kStoreRegistryPath), storedRegistry) << step;
        EXPECT_EQ(CountSubkeys(engine::kStoreFolderPath), storedShortcuts) << step;
        EXPECT_EQ(CountFiles(PssFolder()), storedShortcuts) << step;
        if (HasFailure()) {
            FAIL() << "after " << step << " switches; seed " << seed;
        }
        // Take the state as the listing has it: an enable may have put back a shortcut of the
        // same name from the other folder (the store finds shortcuts by name).
        for (auto& e : entries) {
            e.enabled = active.count(Key(e.name, e.location, e.command)) > 0;
        }
    }
    std::cout << switchesOff << " switched off, " << switchesOn << " switched on" << std::endl;
    EXPECT_GT(switchesOff, kSwitches / 4);
    EXPECT_GT(switchesOn, kSwitches / 4);
}

}  // namespace
