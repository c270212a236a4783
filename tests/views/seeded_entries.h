#pragma once
// Startup entries for the page tests: Run values of the current user, some switched off.

#include "engine/listing.h"
#include "engine/switching.h"
#include "tests/support/machine_state.h"

#include <string>

namespace testing_support {

inline void SeedRunValue(const std::string& name, const std::string& command) {
    SetRunValue(HKEY_CURRENT_USER, kRunKey, name, command);
}

// Switches the listed entry of that name off through the engine, as a user would have.
inline bool SwitchOff(const std::string& name) {
    bool done = false;
    engine::ListStartupItems(engine::EntryFilter::Active)
        .ForEach([&](const engine::StartupItem& item) {
            if (item.name == name) {
                done = engine::DisableStartupItem(item, engine::ReportStyle::Free());
            }
        });
    return done;
}

inline bool RunValueExists(const std::string& name) {
    return GetRunValue(HKEY_CURRENT_USER, kRunKey, name) != "<missing>";
}

}  // namespace testing_support
