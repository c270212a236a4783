#pragma once
// Switching entries of one fix back on and keeping its fix file in step.

#include "engine/startup_item.h"

#include <string>
#include <vector>

namespace history {

struct RestoreOutcome {
    int restored = 0;             // entries chosen and handed to EnableStartupItem
    int failed = 0;               // of those, the ones EnableStartupItem could not put back
    bool fixFileDeleted = false;  // nothing remained, so the fix file is gone
    bool fixFileWritten = false;  // the fix file now holds the entries that are still switched off
};

// entries: the fix file's entries in list order; chosen[i] marks those to switch back on.
// Each chosen entry is switched on in the free report style, last to first, after a copy of
// it has gone to KnownStartupItems. The fix file is then rewritten, in order, with the entries
// not chosen and those whose switch failed (they are still switched off, so the history keeps
// them and the user can try again).
RestoreOutcome RestoreFixEntries(const std::string& fixFilePath,
                                 const std::vector<engine::StartupItem>& entries,
                                 const std::vector<bool>& chosen);

}  // namespace history
