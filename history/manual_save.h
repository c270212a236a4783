#pragma once
// One save of manual switches: entries switched off become one "Manual Fix".

#include "engine/startup_item.h"
#include "engine/switching.h"

#include <vector>

namespace history {

struct ManualChange {
    engine::StartupItem* item;  // its enabled flag is set to the state reached
    bool switchOn;
};

struct ManualSaveOutcome {
    int changed = 0;        // changes handled
    int switchedOff = 0;    // entries actually switched off, each recorded in the fix file
    int switchedOn = 0;     // entries actually switched back on
    bool recorded = false;  // a fix file and a history record were written
};

// Handles the changes in order. Switching on appends a copy to KnownStartupItems and leaves no
// record. Only an entry that DisableStartupItem really switched off is recorded: a save that
// switched nothing off leaves neither a fix file nor a history record.
ManualSaveOutcome SaveManualChanges(const std::vector<ManualChange>& changes,
                                    engine::ReportStyle style);

// Switches off again the entries that put themselves back (engine/returning.h), as one fix
// "Kept Off" whose remarks begin with the number switched off. Each entry's enabled flag says
// what it reached; the ignore list is the caller's to apply.
ManualSaveOutcome KeepSwitchedOff(std::vector<engine::StartupItem>& entries,
                                  engine::ReportStyle style);

}  // namespace history
