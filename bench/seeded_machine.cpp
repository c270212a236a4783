#include "bench/seeded_machine.h"

#include "engine/switching.h"
#include "tests/support/machine_state.h"

#include <cstdio>

namespace bench {

using namespace testing_support;

void SeedMachine(const SeedPlan& plan) {
    ResetStartupSources();
    // The user's keys, the machine's in its 64-bit view and the 32-bit programs' copy.
    const HKEY roots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_LOCAL_MACHINE};
    const REGSAM views[] = {0, KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    const char* keys[] = {kRunKey, kRunOnceKey};
    for (int i = 0; i < plan.runValues; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "BenchEntry%04d", i);
        const std::string chosen = static_cast<size_t>(i) < plan.chosenNames.size()
                                       ? plan.chosenNames[static_cast<size_t>(i)]
                                       : name;
        // Mostly Run keys, as on real machines; every fifth goes to RunOnce.
        const std::string command =
            "\"C:\\Program Files\\Bench\\" + std::string(name) + ".exe\" /background";
        const char* key = keys[(i % 5) == 4];
        SetRunValue(roots[i % 3], key, chosen, command, REG_SZ, views[i % 3]);
        if (i < plan.switchedOff) {
            const std::string location =
                std::string(i % 3 == 0 ? "HKCU\\" : "HKLM\\") +
                (i % 3 == 2 ? "Software\\Wow6432Node\\" + std::string(key).substr(9) : key);
            engine::DisableStartupItem({chosen, command, location, true},
                                       engine::ReportStyle::Free());
            if (i % 2) {
                SetRunValue(roots[i % 3], key, chosen, command, REG_SZ, views[i % 3]);
            }
        }
    }
    const std::string folders[] = {UserStartupFolder(), CommonStartupFolder()};
    for (int i = 0; i < plan.shortcuts; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "BenchLink%03d.lnk", i);
        CreateShortcut(folders[i % 2], name, "C:\\windows\\notepad.exe", "/bench");
    }
}

}  // namespace bench
