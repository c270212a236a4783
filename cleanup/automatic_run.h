#pragma once
// The automatic disabling run: every selected scrap program switched off as one fix.

#include "engine/startup_item.h"

#include <functional>
#include <string>

namespace cleanup {

// What the run tells its window; both are called on the run's own thread.
struct AutomaticRunProgress {
    // Before entry index is handled, selected or not.
    std::function<void(const engine::StartupItem& entry, size_t index)> entryStarted;
    // After the history record is written: total entries, entries switched off.
    std::function<void(size_t total, int fixed)> finished;
};

struct AutomaticRunOutcome {
    int fixed = 0;            // entries switched off, each recorded in the fix file
    bool recorded = false;    // the fix file and the history record were written
    std::string fixFilePath;  // the fix file of this run, kept even when nothing was fixed
};

// Begins a fix, switches each selected entry off in the free report style, records each
// success, and finishes the fix with "%1!d! Scrap programs fixed successfully" / "Automatic
// Fix". The status values are left to the caller (StoreAutomaticRunStatus), on its own thread.
AutomaticRunOutcome RunAutomaticFix(const engine::StartupItemArray& items,
                                    const AutomaticRunProgress& progress);

}  // namespace cleanup
