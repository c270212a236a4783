#pragma once
// "Keep switched-off programs off": entries that put themselves back after the user switched
// them off are switched off again, as one fix, unless the user asked to leave them alone.

#include "engine/startup_item.h"
#include "engine/switching.h"
#include "history/manual_save.h"

#include <vector>

namespace cleanup {

// Switches every entry that came back (engine::ReturnedEntries) off again as one "Kept Off" fix,
// except those whose names are on the ignore list: the ignore list wins, and they are left as they
// are. Each entry's enabled flag says what it reached.
history::ManualSaveOutcome KeepReturnedOff(std::vector<engine::StartupItem>& entries,
                                           engine::ReportStyle style);

}  // namespace cleanup
